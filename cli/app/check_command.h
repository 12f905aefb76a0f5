#pragma once

#include <ostream>

#include "cli/app/component_back_end.h"
#include "cli/app/exit_codes.h"
#include "cli/app/command_options.h"
#include "check/finding.h"

namespace tagwright::cli {

// Checks every script the options name, each on its own through the
// component with the profile, sending nothing and leaving the stored
// settings alone; adds the findings to `report` in script order. Returns
// kExitOk, or the status of what kept a script from being checked at all (a
// missing file, an unreadable profile, a build without the check), whose
// message went to `err`.
ExitCode checkScripts(const CheckOptions& options, ComponentBackEnd& backEnd, CheckReport& report,
                      std::ostream& err);

// tagwright check: the findings in the format asked for on `out`. Exit
// status 0 when nothing was found (warnings only, without --strict), 1 when
// the check fails, or the status of what kept a script from being checked.
int checkCommand(const CheckOptions& options, ComponentBackEnd& backEnd, std::ostream& out,
                 std::ostream& err);

// run --check: checks first and prints the findings on `err`. Returns
// kExitOk when the run may go on.
ExitCode checkBeforeRun(const RunOptions& options, ComponentBackEnd& backEnd, std::ostream& err);

}  // namespace tagwright::cli
