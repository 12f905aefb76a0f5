#include "cli/app/program.h"

#include <exception>
#include <memory>

#include "cli/app/check_command.h"
#include "cli/app/exit_codes.h"
#include "cli/app/options.h"
#include "cli/app/preview_command.h"
#include "cli/app/run_command.h"
#include "cli/app/script_files.h"
#include "cli/app/version.h"
#include "cli/commands/command_dump.h"
#include "cli/commands/names_listing.h"
#include "cli/commands/settings_command.h"

namespace tagwright::cli {
namespace {

int dump(const Options& options, const ComponentBackEnd& backEnd, std::ostream& out,
         std::ostream& err) {
  const std::string& path = options.operands.front();
  FileRead file = readOperand(path);
  if (!file || !file.value()) {
    err << "tagwright: " << (file ? path + ": no such file" : file.error()) << '\n';
    return kExitUsage;
  }
  std::unique_ptr<CodePages> ansi;
  std::unique_ptr<CodePages> oem;
  if (!options.raw) {
    ansi = backEnd.codePages(options.ansi, options.oem);
    // Decoding the OEM lines: a converter whose "ANSI" side is the OEM page.
    oem = backEnd.codePages(options.oem, options.oem);
  }
  out << dumpCommandStream(*file.value(), DumpDecoders{ansi.get(), oem.get()});
  return kExitOk;
}

int settings(const Options& options, const ComponentBackEnd& backEnd, std::ostream& out,
             std::ostream& err) {
  std::optional<std::string> path = profilePath(options, backEnd);
  if (!path) {
    err << "tagwright: no settings profile: give --profile FILE (" << backEnd.profileVariable()
        << " is not set)\n";
    return kExitUsage;
  }
  FileProfile profile(*path);
  SettingsOutcome outcome = settingsCommand(profile, options.operands);
  if (!outcome) {
    err << "tagwright: " << outcome.error().message << '\n';
    return outcome.error().usageError ? kExitUsage : kExitProfile;
  }
  out << "# " << *path << '\n' << outcome.value();
  return kExitOk;
}

int names(const Options& options, ComponentBackEnd& backEnd, std::ostream& out, std::ostream& err) {
  // The catalogue is the component's; no profile, and nothing is printed.
  Result<std::unique_ptr<ComponentSession>> opened = backEnd.open(options, nullptr, err);
  if (!opened) {
    err << "tagwright: " << opened.error() << '\n';
    return kExitUsage;
  }
  ComponentSession& session = *opened.value();
  out << namesListing(session.host());
  session.waitForJobs();
  return kExitOk;
}

int run(const Options& options, ComponentBackEnd& backEnd, std::ostream& out, std::ostream& err) {
  if (std::optional<std::string> refused = backEnd.checkRunOptions(options)) {
    err << "tagwright: " << *refused << '\n';
    return kExitUsage;
  }
  if (options.check) {
    if (const ExitCode checked = checkBeforeRun(options, backEnd, err); checked != kExitOk) {
      return checked;
    }
  }
  auto prepared =
      prepareRun(options, profilePath(options, backEnd), backEnd.profileVariable(), err);
  if (auto* failed = std::get_if<ExitCode>(&prepared)) return *failed;
  RunInputs& inputs = std::get<RunInputs>(prepared);

  // Query results share the terminal with nothing, unless the jobs
  // themselves go to standard output.
  std::ostream& shown = options.output && *options.output == "-" ? err : out;
  // run --preview: every job is drawn as it is sent, named after the script
  // (the first one, when there are several).
  std::unique_ptr<LabelPreview> pictures;
  if (options.previewFolder) {
    Result<std::unique_ptr<LabelPreview>> made =
        backEnd.makePreview(options, *options.previewFolder, shown, err);
    if (!made) {
      err << "tagwright: " << made.error() << '\n';
      return kExitUsage;
    }
    pictures = std::move(made).value();
    pictures->startInput(inputStem(options.operands.front()));
  }
  Result<std::unique_ptr<ComponentSession>> opened =
      backEnd.open(options, inputs.profile.get(), err, JobRouting{pictures.get(), true});
  if (!opened) {
    err << "tagwright: " << opened.error() << '\n';
    return kExitUsage;
  }
  ComponentSession& session = *opened.value();
  // Print-server jobs are titled with the script that printed them.
  struct ScriptNames final : StatementObserver {
    explicit ScriptNames(ComponentSession& s) : session(s) {}
    void scriptStarting(const std::string& file) override { session.scriptStarting(file); }
    ComponentSession& session;
  } scriptNames(session);
  ExitCode code = runScripts(session.host(), *inputs.profile, inputs.scripts, shown, err,
                             ProfileChanges::Save, &scriptNames);
  const JobTally tally = session.waitForJobs();
  if (pictures) {
    pictures->endInput();
    if (pictures->failed()) {
      err << "tagwright: the jobs were sent, but not every label could be drawn\n";
      if (code == kExitOk) code = kExitJobsDropped;
    }
  }
  if (tally.dropped > 0) {
    err << "tagwright: " << tally.dropped << " of " << (tally.written + tally.dropped)
        << " print jobs dropped\n";
    if (code == kExitOk || code == kExitProfile) code = kExitJobsDropped;
  }
  return code;
}

}  // namespace

int runProgram(const std::vector<std::string>& args, ComponentBackEnd& backEnd, std::ostream& out,
               std::ostream& err) {
  try {
    OptionsParse parsed = parseOptions(args);
    if (!parsed) {
      err << "tagwright: " << parsed.error() << '\n';
      return kExitUsage;
    }
    const Options& options = parsed.value();
    if (options.help) {
      out << usageText();
      return kExitOk;
    }
    if (options.version) {
      out << "tagwright " << kTagwrightVersion << '\n';
      return kExitOk;
    }
    if (options.command == "settings") return settings(options, backEnd, out, err);
    if (options.command == "dump") return dump(options, backEnd, out, err);
    if (options.command == "names") return names(options, backEnd, out, err);
    if (options.command == "preview") return previewCommand(options, backEnd, out, err);
    if (options.command == "check") return checkCommand(options, backEnd, out, err);
    if (options.command == "devices") {
      Result<std::string> listing = backEnd.listDevices(options);
      if (!listing) {
        err << "tagwright: " << listing.error() << '\n';
        return kExitUsage;
      }
      out << listing.value();
      return kExitOk;
    }
    if (options.command == "status") return backEnd.printerStatus(options, out, err);
    if (options.command == "printer") return backEnd.virtualPrinter(options, out, err);
    return run(options, backEnd, out, err);
  } catch (const std::exception& e) {
    // Unknown code page names end up here, from the code page set-up.
    err << "tagwright: " << e.what() << '\n';
    return kExitUsage;
  }
}

}  // namespace tagwright::cli
