#include "cli/app/unsent_run.h"

#include "cli/app/run_command.h"

namespace tagwright::cli {

ExitCode runScriptUnsent(const Options& options, const std::string& script,
                         ComponentBackEnd& backEnd, std::ostream& shown, std::ostream& err,
                         const UnsentRunWatchers& watchers) {
  Options one = options;
  one.operands = {script};
  auto prepared = prepareRun(one, profilePath(options, backEnd), backEnd.profileVariable(), err);
  if (auto* failed = std::get_if<ExitCode>(&prepared)) return *failed;
  RunInputs& inputs = std::get<RunInputs>(prepared);
  Result<std::unique_ptr<ComponentSession>> opened =
      backEnd.open(one, inputs.profile.get(), err, JobRouting{watchers.jobs, false});
  if (!opened) {
    err << "tagwright: " << opened.error() << '\n';
    return kExitUsage;
  }
  ComponentSession& session = *opened.value();
  StatementObserver* observer = watchers.statements ? watchers.statements(session) : nullptr;
  const ExitCode code = runScripts(session.host(), *inputs.profile, inputs.scripts, shown, err,
                                   ProfileChanges::Discard, observer);
  session.waitForJobs();
  return code;
}

}  // namespace tagwright::cli
