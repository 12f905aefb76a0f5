#pragma once

#include <ostream>
#include <vector>

#include "cli/app/exit_codes.h"
#include "cli/host/script_host.h"
#include "cli/profile/file_profile.h"
#include "cli/script/script_runner.h"

namespace tagwright::cli {

// One run as the host application does it: Init with the profile, bind
// every statement of every script, run them, Done, save the profile. A
// script that cannot be read or bound stops the run before the first call;
// the profile is then left alone. Returns kExitOk, kExitScriptError or
// kExitProfile; print jobs may still be on their way when it returns.
ExitCode runScripts(ScriptHost& host, FileProfile& profile, const std::vector<ScriptSource>& sources,
                    std::ostream& shown, std::ostream& errors);

}  // namespace tagwright::cli
