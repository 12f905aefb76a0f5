#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tagwright::cli {

// The whole program over the linked component; `args` without the
// program name. Returns the exit status.
int runLinkedProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tagwright::cli
