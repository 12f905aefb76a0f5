#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/app/component_back_end.h"

namespace tagwright::cli {

// The whole tagwright program over one way of reaching the component:
// options, help, version, and the run, settings, names and dump commands.
// `args` without the program name. Returns the exit status (exit_codes.h).
int runProgram(const std::vector<std::string>& args, ComponentBackEnd& backEnd, std::ostream& out,
               std::ostream& err);

}  // namespace tagwright::cli
