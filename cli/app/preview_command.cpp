#include "cli/app/preview_command.h"

#include "cli/app/exit_codes.h"
#include "cli/app/script_files.h"
#include "cli/app/dry_run.h"

namespace tagwright::cli {
namespace {

// Several inputs: the exit status tells of the first that went wrong.
void keepFirstFailure(ExitCode& code, ExitCode next) {
  if (code == kExitOk) code = next;
}

bool isScript(const std::string& path) {
  return path.size() > 4 && path.compare(path.size() - 4, 4, ".tws") == 0;
}

}  // namespace

std::string inputStem(const std::string& path) {
  if (path == "-") return "stdin";
  std::string name = path.substr(path.find_last_of("/\\") + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name.empty() ? "label" : name;
}

int previewCommand(const PreviewOptions& options, ComponentBackEnd& backEnd, std::ostream& out,
                   std::ostream& err) {
  Result<std::unique_ptr<LabelPreview>> made =
      backEnd.makePreview(options.drawing, options.output.value_or("."), out, err);
  if (!made) {
    err << "tagwright: " << made.error() << '\n';
    return kExitUsage;
  }
  LabelPreview& pictures = *made.value();
  ExitCode code = kExitOk;
  for (const std::string& input : options.inputs) {
    pictures.startInput(inputStem(input));
    if (isScript(input)) {
      // Run through the component with the profile as run does, every job
      // drawn and none sent, the stored settings left unchanged.
      keepFirstFailure(code, dryRunScript({input, options.profile, options.drawing.pages}, backEnd,
                                          out, err, DryRunWatchers{&pictures, {}}));
    } else {
      FileRead file = readOperand(input);
      if (!file || !file.value()) {
        err << "tagwright: " << (file ? input + ": no such file" : file.error()) << '\n';
        keepFirstFailure(code, kExitUsage);
      } else {
        pictures.addJob(*file.value());
      }
    }
    pictures.endInput();
  }
  if (pictures.failed() && code == kExitOk) code = kExitJobsDropped;
  return code;
}

}  // namespace tagwright::cli
