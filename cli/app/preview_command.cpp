#include "cli/app/preview_command.h"

#include "cli/app/exit_codes.h"
#include "cli/app/run_command.h"
#include "cli/app/script_files.h"

namespace tagwright::cli {
namespace {

// Several inputs: the exit status tells of the first that went wrong.
void keepFirstFailure(ExitCode& code, ExitCode next) {
  if (code == kExitOk) code = next;
}

bool isScript(const std::string& path) {
  return path.size() > 4 && path.compare(path.size() - 4, 4, ".tws") == 0;
}

// A script previewed: run through the component with the profile as run
// does, every job drawn and none sent, the stored settings left unchanged.
ExitCode previewScript(const Options& options, const std::string& script, ComponentBackEnd& backEnd,
                       LabelPreview& pictures, std::ostream& out, std::ostream& err) {
  Options one = options;
  one.operands = {script};
  auto prepared = prepareRun(one, profilePath(options, backEnd), backEnd.profileVariable(), err);
  if (auto* failed = std::get_if<ExitCode>(&prepared)) return *failed;
  RunInputs& inputs = std::get<RunInputs>(prepared);
  Result<std::unique_ptr<ComponentSession>> opened =
      backEnd.open(one, inputs.profile.get(), err, JobRouting{&pictures, false});
  if (!opened) {
    err << "tagwright: " << opened.error() << '\n';
    return kExitUsage;
  }
  ComponentSession& session = *opened.value();
  const ExitCode code = runScripts(session.host(), *inputs.profile, inputs.scripts, out, err,
                                   ProfileChanges::Discard);
  session.waitForJobs();
  return code;
}

}  // namespace

std::string inputStem(const std::string& path) {
  if (path == "-") return "stdin";
  std::string name = path.substr(path.find_last_of("/\\") + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name.empty() ? "label" : name;
}

int previewCommand(const Options& options, ComponentBackEnd& backEnd, std::ostream& out,
                   std::ostream& err) {
  Result<std::unique_ptr<LabelPreview>> made =
      backEnd.makePreview(options, options.output.value_or("."), out, err);
  if (!made) {
    err << "tagwright: " << made.error() << '\n';
    return kExitUsage;
  }
  LabelPreview& pictures = *made.value();
  ExitCode code = kExitOk;
  for (const std::string& input : options.operands) {
    pictures.startInput(inputStem(input));
    if (isScript(input)) {
      keepFirstFailure(code, previewScript(options, input, backEnd, pictures, out, err));
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
