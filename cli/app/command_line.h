#pragma once

#include <string>
#include <variant>
#include <vector>

#include "cli/app/command_options.h"
#include "cli/commands/printer_options.h"
#include "core/util/result.h"

namespace tagwright::cli {

// --help: the text to show.
struct HelpRequest {
  std::string text;
};
struct VersionRequest {};

using ParsedCommand =
    std::variant<RunOptions, SettingsOptions, NamesOptions, DevicesOptions, DumpOptions,
                 PreviewOptions, CheckOptions, ServeOptions, StatusOptions, printer::PrinterOptions,
                 HelpRequest, VersionRequest>;

// Reads the command line, without the program name: the command with its
// options, or the help or version asked for; or the message of a usage
// error. Options may stand before or after the command word, as
// "--name value" or "--name=value"; "--" ends the options.
Result<ParsedCommand> parseCommandLine(const std::vector<std::string>& args);

}  // namespace tagwright::cli
