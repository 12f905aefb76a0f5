#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "cli/app/command_options.h"
#include "core/util/result.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace tagwright::cli {

// What is wrong with the command line, as the user reads it.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Stores an option's value, or fails with the message of a usage error.
using TakeValue = std::function<Status(const std::string& value)>;

// An option with a value, "--name VALUE" or "--name=VALUE", handed to
// `take` as it is read, so that each one given counts in turn (the last
// one wins unless `take` keeps them all). `valueName` stands for the value
// in the help.
CLI::Option* addValueOption(CLI::App& command, const std::string& names,
                            const std::string& valueName, const std::string& help, TakeValue take);

// A text that must not be empty; `emptyMessage` says what it needs.
CLI::Option* addTextOption(CLI::App& command, const std::string& names,
                           const std::string& valueName, const std::string& help,
                           std::optional<std::string>& field, const std::string& emptyMessage);

CLI::Option* addFlagOption(CLI::App& command, const std::string& names, const std::string& help,
                           bool& field);

// The options several commands take, each declared once, here.
void addProfileOption(CLI::App& command, std::optional<std::string>& profile);
void addCodePageOptions(CLI::App& command, CodePageNames& pages);
// --dpi, --images, --font, and the code pages.
void addDrawingOptions(CLI::App& command, DrawingOptions& drawing);
void addDeviceOption(CLI::App& command, DeviceList& devices);
void addPreviewFolderOption(CLI::App& command, std::optional<std::string>& folder,
                            const std::string& help);

// The time-outs, in seconds (parseSeconds).
using Timeout = std::optional<std::chrono::milliseconds>;
void addConnectTimeoutOption(CLI::App& command, Timeout& timeout, const std::string& help);
void addBusyTimeoutOption(CLI::App& command, Timeout& timeout);
void addWriteTimeoutOption(CLI::App& command, Timeout& timeout);
void addStatusTimeoutOption(CLI::App& command, Timeout& timeout);

// The help of --connect-timeout where a network printer is meant.
inline constexpr const char* kPrinterConnectTimeoutHelp =
    "network printer: give up one connection attempt after S seconds (5)";

}  // namespace tagwright::cli
