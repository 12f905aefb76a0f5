#pragma once

#include <ostream>
#include <string>

#include "cli/output/job_sink.h"

namespace tagwright::cli {

// Appends every job, whole and in hand-off order, to a file (made when
// missing) or to standard output ("-"). Jobs are written as they are
// queued: a local file needs no worker thread. A job that cannot be
// written whole is counted as dropped and reported on `errors`.
class OutputFileSink final : public JobSink {
 public:
  OutputFileSink(std::string path, std::ostream& errors)
      : path_(std::move(path)), errors_(errors) {}

  void queue(PrintJob job) override;
  JobTally finish() override { return tally_; }

 private:
  std::string path_;
  std::ostream& errors_;
  JobTally tally_;
};

}  // namespace tagwright::cli
