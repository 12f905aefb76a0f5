#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "cli/app/options.h"
#include "cli/output/job_sink.h"
#include "core/text/code_pages.h"

namespace tagwright::cli {

struct PortSinkResult {
  std::unique_ptr<JobSink> sink;
  std::string error;  // why there is no sink
};

// The printer ports of this machine, with the --device replacements and
// the --on-port-error policy (or a question on the terminal).
PortSinkResult makePortSink(const Options& options, const CodePages& codePages, std::ostream& err);

}  // namespace tagwright::cli
