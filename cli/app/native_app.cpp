#include "cli/app/native_app.h"

#include <iostream>
#include <memory>
#include <stdexcept>

#include "cli/app/exit_codes.h"
#include "cli/app/options.h"
#include "cli/app/port_sink.h"
#include "cli/app/run_command.h"
#include "cli/app/script_files.h"
#include "cli/app/version.h"
#include "cli/commands/command_dump.h"
#include "cli/commands/names_listing.h"
#include "cli/commands/settings_command.h"
#include "cli/host/native_script_host.h"
#include "cli/output/output_file_sink.h"
#include "cli/profile/atomic_file.h"
#include "core/addin/add_in.h"
#include "core/transport/print_abort.h"
#include "platform/posix/iconv_code_pages.h"

namespace tagwright::cli {
namespace {

std::optional<std::string> profilePath(const Options& options) {
  if (options.profile) return options.profile;
  return defaultProfilePath();
}

int namesCommand(std::ostream& out, const IconvCodePages& codePages) {
  // The catalogue is the component's; no profile, and nothing is printed.
  class NoJobs final : public JobRunner {
    void queue(PrintJob) override {}
  } noJobs;
  AddIn addIn(AddInServices{codePages, noJobs, processPrintAbort()});
  NativeScriptHost host(addIn, nullptr);
  out << namesListing(host);
  return kExitOk;
}

int dumpCommand(const Options& options, std::ostream& out, std::ostream& err) {
  std::string bytes;
  const std::string& path = options.operands.front();
  if (path == "-") {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    FileRead file = readWholeFile(path);
    if (!file.exists || file.error) {
      err << "tagwright: " << (file.error ? *file.error : path + ": no such file") << '\n';
      return kExitUsage;
    }
    bytes = std::move(file.content);
  }
  if (options.raw) {
    out << dumpCommandStream(bytes, DumpDecoders{});
    return kExitOk;
  }
  // Decoding the OEM lines: a converter whose "ANSI" side is the OEM page.
  IconvCodePages ansi(options.ansi, options.oem);
  IconvCodePages oem(options.oem, options.oem);
  out << dumpCommandStream(bytes, DumpDecoders{&ansi, &oem});
  return kExitOk;
}

int settings(const Options& options, std::ostream& out, std::ostream& err) {
  std::optional<std::string> path = profilePath(options);
  if (!path) {
    err << "tagwright: no settings profile: give --profile FILE (HOME is not set)\n";
    return kExitUsage;
  }
  FileProfile profile(*path);
  SettingsOutcome outcome = settingsCommand(profile, options.operands);
  if (outcome.error) {
    err << "tagwright: " << *outcome.error << '\n';
    return outcome.usageError ? kExitUsage : kExitProfile;
  }
  out << "# " << *path << '\n' << outcome.shown;
  return kExitOk;
}

int run(const Options& options, const IconvCodePages& codePages, std::ostream& out,
        std::ostream& err) {
  auto prepared = prepareRun(options, profilePath(options), "HOME", err);
  if (auto* failed = std::get_if<ExitCode>(&prepared)) return *failed;
  RunInputs& inputs = std::get<RunInputs>(prepared);
  FileProfile& profile = *inputs.profile;

  std::unique_ptr<JobSink> sink;
  if (options.output) {
    sink = std::make_unique<OutputFileSink>(*options.output, err);
  } else {
    PortSinkResult ports = makePortSink(options, codePages, err);
    if (!ports.sink) {
      err << "tagwright: " << ports.error << '\n';
      return kExitUsage;
    }
    sink = std::move(ports.sink);
  }
  // Query results share the terminal with nothing, unless the jobs
  // themselves go to standard output.
  std::ostream& shown = options.output && *options.output == "-" ? err : out;

  ExitCode code = kExitOk;
  {
    AddIn addIn(AddInServices{codePages, *sink, processPrintAbort()});
    NativeScriptHost host(addIn, &profile);
    code = runScripts(host, profile, inputs.scripts, shown, err);
  }
  const JobTally tally = sink->finish();
  if (tally.dropped > 0) {
    err << "tagwright: " << tally.dropped << " of " << (tally.written + tally.dropped)
        << " print jobs dropped\n";
    if (code == kExitOk || code == kExitProfile) code = kExitJobsDropped;
  }
  return code;
}

}  // namespace

int runNativeProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  OptionsParse parsed = parseOptions(args);
  if (parsed.error) {
    err << "tagwright: " << *parsed.error << '\n';
    return kExitUsage;
  }
  const Options& options = parsed.options;
  if (options.help) {
    out << usageText();
    return kExitOk;
  }
  if (options.version) {
    out << "tagwright " << kTagwrightVersion << '\n';
    return kExitOk;
  }
  try {
    if (options.command == "settings") return settings(options, out, err);
    if (options.command == "dump") return dumpCommand(options, out, err);
    IconvCodePages codePages(options.ansi, options.oem);
    if (options.command == "names") return namesCommand(out, codePages);
    return run(options, codePages, out, err);
  } catch (const std::exception& e) {
    // Unknown code page names end up here, from the iconv set-up.
    err << "tagwright: " << e.what() << '\n';
    return kExitUsage;
  }
}

}  // namespace tagwright::cli
