#include "cli/app/command_line.h"

// The whole library here, where the parser is made: its configuration
// reader and help formatter are defined in their own headers.
#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/app/command_set.h"
#include "cli/app/shared_options.h"

namespace tagwright::cli {
namespace {

using Parsed = Result<ParsedCommand>;

constexpr const char* kExitStatusText =
    R"(Options may stand before or after the command; "tagwright COMMAND --help" shows them.

Exit status: 0 all jobs written; 1 script error, nothing printed; 2 usage error;
3 settings profile error; 4 some print jobs dropped or not delivered whole (preview:
a label could not be drawn or a picture not written; status and --confirm: the
printer reports a fault; --confirm: a job not confirmed printed). check: 0 nothing
found (or warnings only, without --strict), 1 the check failed. 5 status: the
printer did not answer.)";

bool isOption(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// "--name" of "--name=value".
std::string optionName(const std::string& word) {
  if (word.rfind("--", 0) != 0) return word;
  return word.substr(0, word.find('='));
}

std::vector<const CLI::App*> commandsOf(const CLI::App& program) {
  return program.get_subcommands([](const CLI::App*) { return true; });
}

bool isCommand(const CLI::App& program, const std::string& word) {
  for (const CLI::App* command : commandsOf(program)) {
    if (command->get_name() == word) return true;
  }
  return false;
}

// Whether any command's option of this name takes a value, so that the
// word after it is its value, even before the command word.
bool takesValue(const CLI::App& program, const std::string& name) {
  for (const CLI::App* command : commandsOf(program)) {
    const CLI::Option* option = command->get_option_no_throw(name);
    if (option && option->get_items_expected_max() > 0) return true;
  }
  return false;
}

// The words for the parser: the program's own options (--help before the
// command word, --version anywhere) first, then the command word, then every other option and
// operand; the words after "--" are operands, kept apart.
struct Arranged {
  std::vector<std::string> words;
  std::optional<std::string> command;
  std::vector<std::string> lateOperands;
};

Arranged arrange(const CLI::App& program, const std::vector<std::string>& args) {
  Arranged a;
  std::vector<std::string> before;
  std::vector<std::string> after;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--") {
      a.lateOperands.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
      if (!a.command && !a.lateOperands.empty()) {
        a.command = a.lateOperands.front();
        a.lateOperands.erase(a.lateOperands.begin());
      }
      break;
    }
    const bool programOption = isOption(word) && program.get_option_no_throw(optionName(word));
    if (a.command && !(programOption && optionName(word) == "--version")) {
      after.push_back(word);
    } else if (!isOption(word)) {
      a.command = word;
    } else if (programOption) {
      a.words.push_back(word);
    } else {
      before.push_back(word);
      if (word.find('=') == std::string::npos && takesValue(program, optionName(word)) &&
          i + 1 < args.size()) {
        before.push_back(args[++i]);
      }
    }
  }
  // Only the program's own options stand before an unknown command word:
  // help and version are still given.
  const bool known = a.command && isCommand(program, *a.command);
  if (known) a.words.push_back(*a.command);
  if (known || !a.command) {
    a.words.insert(a.words.end(), before.begin(), before.end());
    a.words.insert(a.words.end(), after.begin(), after.end());
  }
  return a;
}

// "run", "run and check", "run, check and printer".
std::string listed(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
}

std::string commandNames(const CLI::App& program) {
  std::vector<std::string> names;
  for (const CLI::App* command : commandsOf(program)) names.push_back(command->get_name());
  std::string text = listed(names);
  if (const std::size_t last = text.rfind(" and "); last != std::string::npos) {
    text.replace(last, 5, " or ");
  }
  return text;
}

// The commands that take the option `name`.
std::vector<std::string> ownersOf(const CLI::App& program, const std::string& name) {
  std::vector<std::string> owners;
  for (const CLI::App* command : commandsOf(program)) {
    if (command->get_option_no_throw(name)) owners.push_back(command->get_name());
  }
  return owners;
}

// The option `word`, which `command` does not take: where it belongs, or
// that no command knows it.
std::string misplacedOption(const CLI::App& program, const CLI::App& command,
                            const CommandSet& commands, const std::string& word) {
  const std::string name = optionName(word);
  const std::vector<std::string> owners = ownersOf(program, name);
  if (owners.empty()) {
    return "unknown option " + name + " (see tagwright " + command.get_name() + " --help)";
  }
  std::string message = name + " belongs to " + listed(owners);
  if (std::optional<std::string> note = commands.misplacedNote(command, name)) {
    message += "; " + *note;
  }
  return message;
}

const CLI::App* chosenCommand(const CLI::App& program) {
  const std::vector<const CLI::App*> chosen =
      program.get_subcommands([](const CLI::App* c) { return c->parsed(); });
  return chosen.empty() ? nullptr : chosen.front();
}

void describeProgram(CLI::App& program, bool& version) {
  program.set_help_flag("-h,--help", "show this help; COMMAND --help shows a command's options");
  program.add_flag("--version", version, "show the version");
  program.allow_extras();
  program.require_subcommand(0, 1);
  program.footer(kExitStatusText);
  const std::shared_ptr<CLI::FormatterBase> format = program.get_formatter();
  format->label("SUBCOMMAND", "COMMAND");
  format->label("SUBCOMMANDS", "COMMANDS");
  format->label("Positionals", "Operands");
  format->column_width(28);
}

}  // namespace

Parsed parseCommandLine(const std::vector<std::string>& args) {
  bool version = false;
  CLI::App program("tagwright: label scripts through the Tagwright component", "tagwright");
  describeProgram(program, version);
  CommandSet commands(program);

  Arranged arranged = arrange(program, args);
  if (arranged.command && !isCommand(program, *arranged.command) && arranged.words.empty()) {
    return Parsed::failure("unknown command \"" + *arranged.command + "\" (" +
                           commandNames(program) + ")");
  }
  std::vector<std::string> reversed(arranged.words.rbegin(), arranged.words.rend());
  try {
    program.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    const CLI::App* command = chosenCommand(program);
    if (!command || program.get_help_ptr()->count() > 0) {
      // The program's own help, not that of the command it names.
      return ParsedCommand(HelpRequest{
          program.get_formatter()->make_help(&program, "tagwright", CLI::AppFormatMode::Normal)});
    }
    return ParsedCommand(HelpRequest{command->help("tagwright")});
  } catch (const UsageError& refused) {
    return Parsed::failure(refused.what());
  } catch (const CLI::ArgumentMismatch& missing) {
    // "--name: 1 required ... missing": the last option had no value.
    const std::string message = missing.what();
    return Parsed::failure(message.substr(0, message.find(':')) + " needs a value");
  } catch (const CLI::ParseError& error) {
    return Parsed::failure(error.what());
  }
  if (version) return ParsedCommand(VersionRequest{});
  const CLI::App* command = chosenCommand(program);
  if (!command) {
    // Options without a command: those of no command are unknown.
    for (const std::string& word : program.remaining()) {
      if (isOption(word) && ownersOf(program, optionName(word)).empty()) {
        return Parsed::failure("unknown option " + optionName(word) + " (see tagwright --help)");
      }
    }
    return Parsed::failure("no command given (see tagwright --help)");
  }
  if (const std::vector<std::string> extra = command->remaining(); !extra.empty()) {
    if (!isOption(extra.front()))
      return Parsed::failure(command->get_name() + " takes no operands");
    return Parsed::failure(misplacedOption(program, *command, commands, extra.front()));
  }
  return commands.finish(*command, std::move(arranged.lateOperands));
}

}  // namespace tagwright::cli
