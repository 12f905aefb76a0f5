#include "cli/app/run_command.h"

#include "cli/app/script_files.h"

namespace tagwright::cli {

std::variant<RunInputs, ExitCode> prepareRun(const std::vector<std::string>& scripts,
                                             const std::optional<std::string>& profilePath,
                                             std::string_view unsetVariable, std::ostream& errors) {
  if (!profilePath) {
    errors << "tagwright: no settings profile: give --profile FILE (" << unsetVariable
           << " is not set)\n";
    return kExitUsage;
  }
  Result<std::vector<ScriptSource>> sources = readScriptFiles(scripts);
  if (!sources) {
    errors << "tagwright: " << sources.error() << '\n';
    return kExitScriptError;
  }
  auto profile = std::make_unique<FileProfile>(*profilePath);
  if (const Status loaded = profile->load(); !loaded) {
    errors << "tagwright: " << loaded.error() << '\n';
    return kExitProfile;
  }
  return RunInputs{std::move(sources).value(), std::move(profile)};
}

ExitCode runScripts(ScriptHost& host, FileProfile& profile,
                    const std::vector<ScriptSource>& sources, std::ostream& shown,
                    std::ostream& errors, ProfileChanges changes, StatementObserver* observer) {
  if (host.start() != HostResult::Ok) {
    errors << "tagwright: the component could not load its settings from " << profile.path()
           << '\n';
    return kExitProfile;
  }
  PrepareResult prepared = prepareScripts(sources, host);
  if (!prepared) {
    host.finish();
    if (!observer || !observer->refused(prepared.error())) {
      errors << prepared.error().message() << "\ntagwright: nothing was run and nothing printed\n";
    }
    return kExitScriptError;
  }
  const Status ran = runPreparedScripts(prepared.value(), host, shown, observer);
  host.finish();
  ExitCode code = kExitOk;
  if (!ran) {
    errors << ran.error() << '\n';
    code = kExitScriptError;
  }
  if (changes == ProfileChanges::Discard) return code;
  if (const Status saved = profile.save(); !saved) {
    errors << "tagwright: " << saved.error() << '\n';
    if (code == kExitOk) code = kExitProfile;
  }
  return code;
}

}  // namespace tagwright::cli
