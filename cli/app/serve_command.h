#pragma once

#include <ostream>

#include "cli/app/command_options.h"
#include "cli/app/component_back_end.h"

namespace tagwright::cli {

// tagwright serve: the designer's server on 127.0.0.1, its address (with
// the token) on `out`, until Ctrl+C (or SIGTERM, Ctrl+Break). Returns the exit status.
int serveCommand(const ServeOptions& options, ComponentBackEnd& backEnd, std::ostream& out,
                 std::ostream& err);

}  // namespace tagwright::cli
