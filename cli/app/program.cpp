#include "cli/app/program.h"

#include <exception>
#include <memory>

#include "cli/app/check_command.h"
#include "cli/app/exit_codes.h"
#include "cli/app/command_line.h"
#include "cli/app/preview_command.h"
#include "cli/app/run_command.h"
#include "cli/app/script_files.h"
#include "cli/app/version.h"
#include "cli/commands/command_dump.h"
#include "cli/commands/names_listing.h"
#include "cli/commands/settings_command.h"

namespace tagwright::cli {
namespace {

int dump(const DumpOptions& options, const ComponentBackEnd& backEnd, std::ostream& out,
         std::ostream& err) {
  const std::string& path = options.file;
  FileRead file = readOperand(path);
  if (!file || !file.value()) {
    err << "tagwright: " << (file ? path + ": no such file" : file.error()) << '\n';
    return kExitUsage;
  }
  std::unique_ptr<CodePages> ansi;
  std::unique_ptr<CodePages> oem;
  if (!options.raw) {
    ansi = backEnd.codePages(options.pages.ansi, options.pages.oem);
    // Decoding the OEM lines: a converter whose "ANSI" side is the OEM page.
    oem = backEnd.codePages(options.pages.oem, options.pages.oem);
  }
  out << dumpCommandStream(*file.value(), DumpDecoders{ansi.get(), oem.get()});
  return kExitOk;
}

int settings(const SettingsOptions& options, const ComponentBackEnd& backEnd, std::ostream& out,
             std::ostream& err) {
  std::optional<std::string> path = profilePath(options.profile, backEnd);
  if (!path) {
    err << "tagwright: no settings profile: give --profile FILE (" << backEnd.profileVariable()
        << " is not set)\n";
    return kExitUsage;
  }
  FileProfile profile(*path);
  SettingsOutcome outcome = settingsCommand(profile, options.assignments);
  if (!outcome) {
    err << "tagwright: " << outcome.error().message << '\n';
    return outcome.error().usageError ? kExitUsage : kExitProfile;
  }
  out << "# " << *path << '\n' << outcome.value();
  return kExitOk;
}

int names(ComponentBackEnd& backEnd, std::ostream& out, std::ostream& err) {
  // The catalogue is the component's; no profile, and nothing is printed.
  Result<std::unique_ptr<ComponentSession>> opened = backEnd.open(CodePageNames{}, nullptr, err);
  if (!opened) {
    err << "tagwright: " << opened.error() << '\n';
    return kExitUsage;
  }
  ComponentSession& session = *opened.value();
  out << namesListing(session.host());
  session.waitForJobs();
  return kExitOk;
}

// The saved device map as devices shows it, first.
std::string savedMapListing(const DeviceMapStore& store, const DeviceList& entries) {
  std::string text = "Device map (" + store.where() + "):\n";
  if (entries.empty()) text += "  none; add entries with: devices --map PORT=TARGET\n";
  for (const auto& [port, target] : entries) text += "  " + port + " = " + target + "\n";
  return text + "\n";
}

int devices(const DevicesOptions& options, const ComponentBackEnd& backEnd, std::ostream& out,
            std::ostream& err) {
  DeviceMapStore* store = backEnd.deviceMapStore();
  const bool changes = !options.map.empty() || !options.unmap.empty();
  if (changes && store == nullptr) {
    err << "tagwright: this program keeps no device map\n";
    return kExitUsage;
  }
  if (store != nullptr) {
    Result<DeviceList> saved = store->read();
    if (!saved) {
      err << "tagwright: " << saved.error() << '\n';
      if (changes) return kExitUsage;
    } else {
      DeviceList entries = std::move(saved).value();
      for (const auto& [port, target] : options.map) {
        if (const Status accepted = store->accepts(target); !accepted) {
          err << "tagwright: --map " << port << "=" << target << ": " << accepted.error() << '\n';
          return kExitUsage;
        }
        entries = withEntry(std::move(entries), port, target);
      }
      for (const std::string& port : options.unmap)
        entries = withoutEntry(std::move(entries), port);
      if (changes) {
        if (const Status written = store->write(entries); !written) {
          err << "tagwright: " << written.error() << '\n';
          return kExitUsage;
        }
      }
      out << savedMapListing(*store, entries);
    }
  }
  Result<std::string> listing = backEnd.listDevices(options);
  if (!listing) {
    err << "tagwright: " << listing.error() << '\n';
    return kExitUsage;
  }
  out << listing.value();
  return kExitOk;
}

// The saved device map under the --device of `ports`; the failure names
// every bad line of the saved map.
Result<DeviceList> devicesWithSavedMap(const ComponentBackEnd& backEnd, const DeviceList& given) {
  const DeviceMapStore* store = backEnd.deviceMapStore();
  if (store == nullptr) return given;
  Result<DeviceList> saved = store->read();
  if (!saved) return saved;
  return underDevices(saved.value(), given);
}

int status(const StatusOptions& given, ComponentBackEnd& backEnd, std::ostream& out,
           std::ostream& err) {
  StatusOptions options = given;
  // A port named without --device is looked up in the saved map; a
  // --device alone names the port asked.
  if (options.port || options.ports.devices.empty()) {
    Result<DeviceList> devices = devicesWithSavedMap(backEnd, options.ports.devices);
    if (!devices) {
      err << "tagwright: " << devices.error() << '\n';
      return kExitUsage;
    }
    options.ports.devices = std::move(devices).value();
  }
  return backEnd.printerStatus(options, out, err);
}

int runCommand(const RunOptions& options, ComponentBackEnd& backEnd, std::ostream& out,
               std::ostream& err);

int run(const RunOptions& given, ComponentBackEnd& backEnd, std::ostream& out, std::ostream& err) {
  if (!backEnd.runUsesSavedMap()) return runCommand(given, backEnd, out, err);
  RunOptions options = given;
  Result<DeviceList> devices = devicesWithSavedMap(backEnd, options.delivery.ports.devices);
  if (!devices) {
    err << "tagwright: " << devices.error() << '\n';
    return kExitUsage;
  }
  options.delivery.ports.devices = std::move(devices).value();
  return runCommand(options, backEnd, out, err);
}

int runCommand(const RunOptions& options, ComponentBackEnd& backEnd, std::ostream& out,
               std::ostream& err) {
  if (const Status accepted = backEnd.checkRunOptions(options); !accepted) {
    err << "tagwright: " << accepted.error() << '\n';
    return kExitUsage;
  }
  if (options.check) {
    if (const ExitCode checked = checkBeforeRun(options, backEnd, err); checked != kExitOk) {
      return checked;
    }
  }
  auto prepared = prepareRun(options.scripts, profilePath(options.profile, backEnd),
                             backEnd.profileVariable(), err);
  if (auto* failed = std::get_if<ExitCode>(&prepared)) return *failed;
  RunInputs& inputs = std::get<RunInputs>(prepared);

  // Query results share the terminal with nothing, unless the jobs
  // themselves go to standard output.
  const std::optional<std::string>& output = options.delivery.output;
  std::ostream& shown = output && *output == "-" ? err : out;
  // run --preview: every job is drawn as it is sent, named after the script
  // (the first one, when there are several).
  std::unique_ptr<LabelPreview> pictures;
  if (options.previewFolder) {
    Result<std::unique_ptr<LabelPreview>> made =
        backEnd.makePreview(options.drawing, *options.previewFolder, shown, err);
    if (!made) {
      err << "tagwright: " << made.error() << '\n';
      return kExitUsage;
    }
    pictures = std::move(made).value();
    pictures->startInput(inputStem(options.scripts.front()));
  }
  Result<std::unique_ptr<ComponentSession>> opened =
      backEnd.open(options.drawing.pages, inputs.profile.get(), err,
                   JobRouting{pictures.get(), &options.delivery});
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
    Result<ParsedCommand> parsed = parseCommandLine(args);
    if (!parsed) {
      err << "tagwright: " << parsed.error() << '\n';
      return kExitUsage;
    }
    struct Dispatch {
      ComponentBackEnd& backEnd;
      std::ostream& out;
      std::ostream& err;
      int operator()(const RunOptions& o) { return run(o, backEnd, out, err); }
      int operator()(const SettingsOptions& o) { return settings(o, backEnd, out, err); }
      int operator()(const NamesOptions&) { return names(backEnd, out, err); }
      int operator()(const DevicesOptions& o) { return devices(o, backEnd, out, err); }
      int operator()(const DumpOptions& o) { return dump(o, backEnd, out, err); }
      int operator()(const PreviewOptions& o) { return previewCommand(o, backEnd, out, err); }
      int operator()(const CheckOptions& o) { return checkCommand(o, backEnd, out, err); }
      int operator()(const ServeOptions& o) { return backEnd.designer(o, out, err); }
      int operator()(const StatusOptions& o) { return status(o, backEnd, out, err); }
      int operator()(const printer::PrinterOptions& o) {
        return backEnd.virtualPrinter(o, out, err);
      }
      int operator()(const HelpRequest& help) {
        out << help.text;
        return kExitOk;
      }
      int operator()(const VersionRequest&) {
        out << "tagwright " << kTagwrightVersion << '\n';
        return kExitOk;
      }
    };
    return std::visit(Dispatch{backEnd, out, err}, parsed.value());
  } catch (const std::exception& e) {
    // Unknown code page names end up here, from the code page set-up.
    err << "tagwright: " << e.what() << '\n';
    return kExitUsage;
  }
}

}  // namespace tagwright::cli
