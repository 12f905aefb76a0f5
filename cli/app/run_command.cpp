#include "cli/app/run_command.h"

namespace tagwright::cli {

ExitCode runScripts(ScriptHost& host, FileProfile& profile, const std::vector<ScriptSource>& sources,
                    std::ostream& shown, std::ostream& errors) {
  if (host.start() != HostResult::Ok) {
    errors << "tagwright: the component could not load its settings from " << profile.path()
           << '\n';
    return kExitProfile;
  }
  PrepareResult prepared = prepareScripts(sources, host);
  if (prepared.error) {
    host.finish();
    errors << *prepared.error << "\ntagwright: nothing was run and nothing printed\n";
    return kExitScriptError;
  }
  std::optional<std::string> failure = runPreparedScripts(prepared.scripts, host, shown);
  host.finish();
  ExitCode code = kExitOk;
  if (failure) {
    errors << *failure << '\n';
    code = kExitScriptError;
  }
  if (auto error = profile.save()) {
    errors << "tagwright: " << *error << '\n';
    if (code == kExitOk) code = kExitProfile;
  }
  return code;
}

}  // namespace tagwright::cli
