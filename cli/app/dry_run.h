#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "cli/app/command_options.h"
#include "cli/app/component_back_end.h"
#include "cli/app/exit_codes.h"
#include "preview/label_preview.h"
#include "script/script_runner.h"

namespace tagwright::cli {

// What looks at a dry run of a script.
struct DryRunWatchers {
  // Takes every print job; nothing else sees them. Must outlive the run.
  LabelPreview* jobs = nullptr;
  // Called once the component is open, before the script is read: what it
  // returns (may be null) sees every statement.
  std::function<StatementObserver*(ComponentSession&)> statements;
};

// What a dry run starts from: the script, the settings profile (nothing:
// the back end's default) and the code pages the component converts with.
struct DryRunSource {
  const std::string& script;
  const std::optional<std::string>& profile;
  const CodePageNames& pages;
};

// One script run through the component with the settings profile, as run
// does, but with no job sent and the stored settings left as they were
// (the preview draws the jobs, the check watches the statements). "? Name"
// values go to `shown`. Returns the exit status of the run.
ExitCode dryRunScript(const DryRunSource& source, ComponentBackEnd& backEnd, std::ostream& shown,
                      std::ostream& err, const DryRunWatchers& watchers);

}  // namespace tagwright::cli
