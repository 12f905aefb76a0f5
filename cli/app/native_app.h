#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tagwright::cli {

// The whole program over the natively linked component; `args` without the
// program name. Returns the exit status.
int runNativeProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tagwright::cli
