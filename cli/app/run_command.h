#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/app/exit_codes.h"
#include "script/script_host.h"
#include "cli/profile/file_profile.h"
#include "script/script_runner.h"

namespace tagwright::cli {

// What a run starts from: every script read whole, and the loaded profile.
struct RunInputs {
  std::vector<ScriptSource> scripts;
  std::unique_ptr<FileProfile> profile;
};

// Reads the `scripts` and loads the profile at
// `profilePath` (nullopt when its default place is unknown; `unsetVariable`
// names what is missing then). On failure writes the message to `errors`
// and returns the exit code, before anything has run.
std::variant<RunInputs, ExitCode> prepareRun(const std::vector<std::string>& scripts,
                                             const std::optional<std::string>& profilePath,
                                             std::string_view unsetVariable, std::ostream& errors);

// Whether a run keeps what its scripts changed in the settings profile. A
// preview leaves the stored settings as they were.
enum class ProfileChanges { Save, Discard };

// One run as the host application does it: Init with the profile, bind
// every statement of every script, run them, Done, save the profile. A
// script that cannot be read or bound stops the run before the first call;
// the profile is then left alone. Returns kExitOk, kExitScriptError or
// kExitProfile; print jobs may still be on their way when it returns.
// `observer`, when given, sees every statement taken, and is told of a
// script that cannot be read or bound instead of `errors`.
ExitCode runScripts(ScriptHost& host, FileProfile& profile,
                    const std::vector<ScriptSource>& sources, std::ostream& shown,
                    std::ostream& errors, ProfileChanges changes = ProfileChanges::Save,
                    StatementObserver* observer = nullptr);

}  // namespace tagwright::cli
