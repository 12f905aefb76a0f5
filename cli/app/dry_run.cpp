#include "cli/app/dry_run.h"

#include "cli/app/run_command.h"

namespace tagwright::cli {

ExitCode dryRunScript(const DryRunSource& source, ComponentBackEnd& backEnd, std::ostream& shown,
                      std::ostream& err, const DryRunWatchers& watchers) {
  auto prepared = prepareRun({source.script}, profilePath(source.profile, backEnd),
                             backEnd.profileVariable(), err);
  if (auto* failed = std::get_if<ExitCode>(&prepared)) return *failed;
  RunInputs& inputs = std::get<RunInputs>(prepared);
  Result<std::unique_ptr<ComponentSession>> opened =
      backEnd.open(source.pages, inputs.profile.get(), err, JobRouting{watchers.jobs, nullptr});
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
