#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "cli/app/component_back_end.h"
#include "cli/app/exit_codes.h"
#include "cli/app/label_preview.h"
#include "cli/app/options.h"
#include "cli/script/script_runner.h"

namespace tagwright::cli {

// What looks at a script's run that sends nothing.
struct UnsentRunWatchers {
  // Takes every print job; nothing else sees them. Must outlive the run.
  LabelPreview* jobs = nullptr;
  // Called once the component is open, before the script is read: what it
  // returns (may be null) sees every statement.
  std::function<StatementObserver*(ComponentSession&)> statements;
};

// One script run through the component with the settings profile, as run
// does, but with no job sent and the stored settings left as they were
// (the preview draws the jobs, the check watches the statements). "? Name"
// values go to `shown`. Returns the exit status of the run.
ExitCode runScriptUnsent(const Options& options, const std::string& script,
                         ComponentBackEnd& backEnd, std::ostream& shown, std::ostream& err,
                         const UnsentRunWatchers& watchers);

}  // namespace tagwright::cli
