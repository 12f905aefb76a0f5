#pragma once

#include <string>

#include "core/transport/print_job.h"

namespace tagwright::cli {

// Where the component's print jobs go in the command-line host. The
// program ends only after finish(): every job queued so far is written or
// dropped by then, and the tally says which.
class JobSink : public JobRunner {
 public:
  virtual JobTally finish() = 0;
  // The script whose jobs are queued next.
  virtual void scriptStarting(const std::string& file) { (void)file; }
};

}  // namespace tagwright::cli
