#pragma once

#include <string>

#include "platform/posix/transport/posix_print_runner.h"

namespace tagwright::cli {

// What the user is told about a job that did not reach its printer whole:
// which job, where, why, how many of its bytes arrived, and what to do.
std::string failedJobText(const FailedJob& failed);

}  // namespace tagwright::cli
