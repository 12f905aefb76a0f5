#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/app/command_line.h"

namespace CLI {
class App;
}

namespace tagwright::cli {

// Every command of the program, each a subcommand of `program` with its
// operands and options declared on it, and the options it reads into.
// Holds what the subcommands store into: it must outlive their parse.
class CommandSet {
 public:
  explicit CommandSet(CLI::App& program);
  CommandSet(const CommandSet&) = delete;
  CommandSet& operator=(const CommandSet&) = delete;

  // The command parsed by `command`, with `lateOperands` (the words after
  // "--") added to its operands and checked as a whole; or the message of
  // a usage error.
  Result<ParsedCommand> finish(const CLI::App& command, std::vector<std::string> lateOperands);

  // Why an option that `command` does not take is not for it, when more
  // than "it belongs to ..." is worth saying; or nothing.
  std::optional<std::string> misplacedNote(const CLI::App& command,
                                           const std::string& option) const;

 private:
  struct Command {
    CLI::App* app = nullptr;
    std::vector<std::string> operands;
    // What is wrong with the command's options and operands together.
    std::function<Status(const Command&)> check;
    // The command's options, taking its operands.
    std::function<ParsedCommand(std::vector<std::string>& operands)> result;
    std::vector<std::pair<std::string, std::string>> notes;  // option, why not here
  };

  Command& add(CLI::App& program, const std::string& name, const std::string& description,
               const std::string& operandName, const std::string& operandHelp);
  void addRun(CLI::App& program);
  void addSettings(CLI::App& program);
  void addNames(CLI::App& program);
  void addDump(CLI::App& program);
  void addPreview(CLI::App& program);
  void addCheck(CLI::App& program);
  void addDevices(CLI::App& program);
  void addServe(CLI::App& program);
  void addStatus(CLI::App& program);
  void addPrinter(CLI::App& program);

  RunOptions run_;
  SettingsOptions settings_;
  DevicesOptions devices_;
  DumpOptions dump_;
  PreviewOptions preview_;
  CheckOptions check_;
  ServeOptions serve_;
  StatusOptions status_;
  printer::PrinterOptions printer_;
  std::vector<std::unique_ptr<Command>> commands_;
};

}  // namespace tagwright::cli
