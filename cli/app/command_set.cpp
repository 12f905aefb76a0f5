#include "cli/app/command_set.h"

#include <CLI/App.hpp>
#include <algorithm>

#include "cli/app/option_values.h"
#include "preview/picture_files.h"
#include "cli/app/shared_options.h"

namespace tagwright::cli {
namespace {

// The check of a command that takes no operands.
Status noOperands(const std::string& command, const std::vector<std::string>& operands) {
  if (operands.empty()) return Status::success();
  return Status::failure(command + " takes no operands");
}

// A command's options, with its operands moved into `field`.
template <typename Options>
std::function<ParsedCommand(std::vector<std::string>&)> withOperands(
    Options& options, std::vector<std::string> Options::*field) {
  return [&options, field](std::vector<std::string>& operands) -> ParsedCommand {
    options.*field = std::move(operands);
    return options;
  };
}

void addDeliveryOptions(CLI::App& command, DeliveryOptions& o) {
  addTextOption(command, "--output", "FILE",
                "append every print job to FILE instead of a port (- for stdout)", o.output,
                "--output needs a file name, or - for standard output");
  addDeviceOption(command, o.ports.devices);
  addFlagOption(command, "--wait", "CUPS queues: follow each job until it has completed or failed",
                o.wait);
  addConnectTimeoutOption(command, o.ports.connectTimeout, kPrinterConnectTimeoutHelp);
  addBusyTimeoutOption(command, o.ports.busyTimeout);
  addWriteTimeoutOption(command, o.ports.writeTimeout);
  addFlagOption(command, "-q,--quiet", "no progress lines on the terminal", o.quiet);
  addFlagOption(command, "--confirm", "after each job, ask the printer until it has printed it",
                o.confirm);
  addStatusTimeoutOption(command, o.statusTimeout);
  addValueOption(command, "--on-port-error", "abort|retry|ignore",
                 "what to do when a port cannot be opened; without it the\n"
                 "program asks on the terminal, and aborts when there is none",
                 [&o](const std::string& value) -> Status {
                   if (value == "abort") o.onPortError = PortErrorPolicy::Abort;
                   else if (value == "retry") o.onPortError = PortErrorPolicy::Retry;
                   else if (value == "ignore") o.onPortError = PortErrorPolicy::Ignore;
                   else
                     return Status::failure("--on-port-error takes abort, retry or ignore (got \"" +
                                            value + "\")");
                   return Status::success();
                 });
}

}  // namespace

CommandSet::CommandSet(CLI::App& program) {
  addRun(program);
  addSettings(program);
  addNames(program);
  addDump(program);
  addPreview(program);
  addCheck(program);
  addServe(program);
  addDevices(program);
  addStatus(program);
  addPrinter(program);
}

CommandSet::Command& CommandSet::add(CLI::App& program, const std::string& name,
                                     const std::string& description, const std::string& operandName,
                                     const std::string& operandHelp) {
  auto command = std::make_unique<Command>();
  command->app = program.add_subcommand(name, description);
  command->app->group("Commands");
  command->app->set_help_flag("-h,--help", "show this help");
  command->app->footer("");
  // Unknown options are left over, to be refused in the program's words;
  // so are the operands of a command that takes none.
  command->app->allow_extras();
  if (!operandName.empty()) {
    command->app->add_option(operandName, command->operands, operandHelp)->type_name("");
  }
  commands_.push_back(std::move(command));
  return *commands_.back();
}

void CommandSet::addRun(CLI::App& program) {
  Command& c = add(program, "run", "run label scripts through the component", "SCRIPT",
                   "a label script; - reads standard input");
  addProfileOption(*c.app, run_.profile);
  addDeliveryOptions(*c.app, run_.delivery);
  addPreviewFolderOption(*c.app, run_.previewFolder,
                         "also draw every label it sends, as pictures in DIR");
  addDrawingOptions(*c.app, run_.drawing);
  addFlagOption(*c.app, "--check", "check the scripts first; run nothing when the check fails",
                run_.check);
  addFlagOption(*c.app, "--strict", "with --check: warnings fail the check too", run_.strict);
  c.check = [this](const Command& self) -> Status {
    if (self.operands.empty()) return Status::failure("run needs at least one script file");
    if (run_.check &&
        std::find(self.operands.begin(), self.operands.end(), "-") != self.operands.end()) {
      return Status::failure(
          "run --check reads each script twice: give a file, not standard input");
    }
    if (run_.strict && !run_.check)
      return Status::failure("--strict belongs to check and run --check");
    return Status::success();
  };
  c.result = withOperands(run_, &RunOptions::scripts);
}

void CommandSet::addSettings(CLI::App& program) {
  Command& c = add(program, "settings", "show the twenty stored settings, or set some", "KEY=VALUE",
                   "a stored setting and its new value");
  addProfileOption(*c.app, settings_.profile);
  c.check = [](const Command&) { return Status::success(); };
  c.result = withOperands(settings_, &SettingsOptions::assignments);
}

void CommandSet::addNames(CLI::App& program) {
  Command& names = add(program, "names", "list the properties and methods", "", "");
  names.check = [](const Command& self) { return noOperands("names", self.operands); };
  names.result = [](std::vector<std::string>&) -> ParsedCommand { return NamesOptions{}; };
}

void CommandSet::addDevices(CLI::App& program) {
  Command& devices =
      add(program, "devices", "what this machine can print to, with the --device text", "", "");
  addConnectTimeoutOption(*devices.app, devices_.connectTimeout,
                          "give up on a print server that does not answer within S seconds (2)");
  addValueOption(
      *devices.app, "--map", "PORT=TARGET",
      "save TARGET behind PORT for run and status (may be repeated)",
      [this](const std::string& value) -> Status {
        const std::size_t equals = value.find('=');
        const std::optional<std::string> port =
            canonicalPortName(value.substr(0, std::min(equals, value.size())));
        if (equals == std::string::npos || equals + 1 == value.size() || !port) {
          return Status::failure(
              "--map takes PORT=TARGET, PORT one of LPT1..LPT3, COM1..COM9, USB (got \"" + value +
              "\")");
        }
        devices_.map.emplace_back(*port, value.substr(equals + 1));
        return Status::success();
      });
  addValueOption(*devices.app, "--unmap", "PORT", "take the saved entry of PORT out",
                 [this](const std::string& value) -> Status {
                   const std::optional<std::string> port = canonicalPortName(value);
                   if (!port) return Status::failure("--unmap: unknown port \"" + value + "\"");
                   devices_.unmap.push_back(*port);
                   return Status::success();
                 });
  devices.check = [](const Command& self) { return noOperands("devices", self.operands); };
  devices.result = [this](std::vector<std::string>&) -> ParsedCommand { return devices_; };
}

void CommandSet::addDump(CLI::App& program) {
  Command& c = add(program, "dump", "show a command stream, one command a line", "FILE",
                   "a printer job file; - reads standard input");
  addFlagOption(*c.app, "--raw", "show bytes above 127 as \\xNN instead of decoding them",
                dump_.raw);
  addCodePageOptions(*c.app, dump_.pages);
  c.check = [](const Command& self) -> Status {
    if (self.operands.size() != 1)
      return Status::failure("dump takes one file (- for standard input)");
    return Status::success();
  };
  c.result = [this](std::vector<std::string>& operands) -> ParsedCommand {
    dump_.file = operands.front();
    return dump_;
  };
}

void CommandSet::addPreview(CLI::App& program) {
  Command& c = add(program, "preview", "draw every label as a PNG picture, print nothing", "FILE",
                   "FILE.tws is a script, any other file a printer job (- standard input)");
  addProfileOption(*c.app, preview_.profile);
  addTextOption(*c.app, "--output", "DIR|FILE.png",
                "where the pictures go (default: the current folder)", preview_.output,
                "--output needs a folder, or FILE.png for one picture");
  addDrawingOptions(*c.app, preview_.drawing);
  c.notes = {{"--preview", "the preview command writes to --output"}};
  c.check = [this](const Command& self) -> Status {
    if (self.operands.empty()) {
      return Status::failure("preview needs at least one script (.tws) or printer job file");
    }
    if (preview_.output && endsWithPng(*preview_.output) && self.operands.size() != 1) {
      return Status::failure(
          "--output " + *preview_.output +
          " names one picture, for one input with one label: give a folder instead");
    }
    return Status::success();
  };
  c.result = withOperands(preview_, &PreviewOptions::inputs);
}

void CommandSet::addCheck(CLI::App& program) {
  Command& c =
      add(program, "check", "find a script's mistakes, print nothing", "SCRIPT", "a label script");
  addProfileOption(*c.app, check_.profile);
  addDrawingOptions(*c.app, check_.drawing);
  addValueOption(
      *c.app, "--format", "text|json|sarif",
      "how findings are shown (default text; sarif is SARIF 2.1.0)",
      [this](const std::string& value) -> Status {
        if (value != "text" && value != "json" && value != "sarif") {
          return Status::failure("--format takes text, json or sarif (got \"" + value + "\")");
        }
        check_.format = value;
        return Status::success();
      });
  addFlagOption(*c.app, "--strict", "warnings fail the check too", check_.strict);
  // Where a run would send its jobs: taken, so that a run's command line
  // checks as it is, and never used.
  addDeliveryOptions(*c.app, check_.unsent);
  c.notes = {{"--check", "the check command always checks"}};
  c.check = [](const Command& self) -> Status {
    if (self.operands.empty()) return Status::failure("check needs at least one script file");
    return Status::success();
  };
  c.result = withOperands(check_, &CheckOptions::scripts);
}

void CommandSet::addServe(CLI::App& program) {
  Command& c = add(program, "serve",
                   "design a label in the browser: the script, its pictures and its findings",
                   "FILE", "the script (.tws) the page edits and saves; without it a new one");
  addProfileOption(*c.app, serve_.profile);
  addDrawingOptions(*c.app, serve_.drawing);
  addValueOption(
      *c.app, "--port", "N", "listen on 127.0.0.1:N (default: any free port)",
      [this](const std::string& value) -> Status {
        int port = 0;
        for (char ch : value) {
          if (ch < '0' || ch > '9' || port > 65535) {
            port = -1;
            break;
          }
          port = port * 10 + (ch - '0');
        }
        if (value.empty() || port <= 0 || port > 65535) {
          return Status::failure("--port takes a number from 1 to 65535 (got \"" + value + "\")");
        }
        serve_.port = port;
        return Status::success();
      });
  addDeviceOption(*c.app, serve_.delivery.ports.devices);
  addStatusTimeoutOption(*c.app, serve_.delivery.statusTimeout);
  c.check = [](const Command& self) -> Status {
    if (self.operands.size() > 1) return Status::failure("serve takes at most one script file");
    return Status::success();
  };
  c.result = [this](std::vector<std::string>& operands) -> ParsedCommand {
    if (!operands.empty()) serve_.file = operands.front();
    return serve_;
  };
}

void CommandSet::addStatus(CLI::App& program) {
  Command& c = add(program, "status", "ask the printer behind a port how it is", "PORT",
                   "COM1, LPT1, USB, ...; without it the only port given with --device");
  addDeviceOption(*c.app, status_.ports.devices);
  addConnectTimeoutOption(*c.app, status_.ports.connectTimeout, kPrinterConnectTimeoutHelp);
  addBusyTimeoutOption(*c.app, status_.ports.busyTimeout);
  addStatusTimeoutOption(*c.app, status_.statusTimeout);
  c.check = [](const Command& self) -> Status {
    if (self.operands.size() > 1)
      return Status::failure("status takes at most one port name (COM1, LPT1, USB, ...)");
    if (!self.operands.empty() && !canonicalPortName(self.operands.front())) {
      return Status::failure("status: unknown port \"" + self.operands.front() +
                             "\" (LPT1..LPT3, COM1..COM9 or USB)");
    }
    return Status::success();
  };
  c.result = [this](std::vector<std::string>& operands) -> ParsedCommand {
    if (!operands.empty()) status_.port = canonicalPortName(operands.front());
    return status_;
  };
}

void CommandSet::addPrinter(CLI::App& program) {
  Command& c = add(program, "printer",
                   "a virtual label printer: takes jobs, draws every label, answers status "
                   "queries",
                   "", "");
  addPrinterOptions(*c.app, printer_);
  c.check = [this](const Command& self) -> Status {
    if (Status operands = noOperands("printer", self.operands); !operands) return operands;
    return printer::printerOptionsError(*self.app, printer_);
  };
  c.result = [this](std::vector<std::string>&) -> ParsedCommand { return printer_; };
}

Result<ParsedCommand> CommandSet::finish(const CLI::App& command,
                                         std::vector<std::string> lateOperands) {
  for (const std::unique_ptr<Command>& c : commands_) {
    if (c->app != &command) continue;
    c->operands.insert(c->operands.end(), lateOperands.begin(), lateOperands.end());
    if (const Status checked = c->check(*c); !checked)
      return Result<ParsedCommand>::failure(checked.error());
    return c->result(c->operands);
  }
  return Result<ParsedCommand>::failure("no command given (see tagwright --help)");
}

std::optional<std::string> CommandSet::misplacedNote(const CLI::App& command,
                                                     const std::string& option) const {
  for (const std::unique_ptr<Command>& c : commands_) {
    if (c->app != &command) continue;
    for (const auto& [name, note] : c->notes) {
      if (name == option) return note;
    }
  }
  return std::nullopt;
}

}  // namespace tagwright::cli
