#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "cli/app/command_options.h"
#include "cli/output/job_sink.h"
#include "core/text/code_pages.h"
#include "core/util/result.h"

namespace tagwright::cli {

// The printer ports of this machine, with the --device replacements and
// the --on-port-error policy (or a question on the terminal).
Result<std::unique_ptr<JobSink>> makePortSink(const DeliveryOptions& options,
                                              const CodePages& codePages, std::ostream& err);

}  // namespace tagwright::cli
