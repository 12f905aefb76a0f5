#include "cli/app/shared_options.h"

#include <CLI/App.hpp>

#include "cli/app/option_values.h"

namespace tagwright::cli {
namespace {

// A --device example of this system's own: a serial node on Linux; on
// Windows, where the ports are the system's own, a network printer.
#ifdef _WIN32
constexpr const char* kDeviceExamples =
    "--device COM1=tcp://10.0.0.7 or --device COM1=printer:NAME";
#else
constexpr const char* kDeviceExamples =
    "--device COM1=/dev/ttyUSB0 or --device COM1=tcp://10.0.0.7";
#endif

void addSecondsOption(CLI::App& command, const std::string& name, const std::string& help,
                      Timeout& timeout) {
  addValueOption(command, name, "S", help, [&timeout, name](const std::string& value) -> Status {
    timeout = parseSeconds(value);
    if (timeout) return Status::success();
    return Status::failure(name + " takes seconds, e.g. " + name + " 5 or " + name +
                           " 0.5 (got \"" + value + "\")");
  });
}

Status takeDevice(DeviceList& devices, const std::string& value) {
  const std::size_t equals = value.find('=');
  if (equals == std::string::npos || equals + 1 == value.size()) {
    return Status::failure(std::string("--device takes NAME=PATH, e.g. ") + kDeviceExamples +
                           " (got \"" + value + "\")");
  }
  std::optional<std::string> port = canonicalPortName(value.substr(0, equals));
  if (!port) {
    return Status::failure("--device: unknown port \"" + value.substr(0, equals) +
                           "\" (LPT1..LPT3, COM1..COM9 or USB)");
  }
  for (const auto& given : devices) {
    if (given.first == *port) return Status::failure("--device: " + *port + " is given twice");
  }
  devices.emplace_back(*port, value.substr(equals + 1));
  return Status::success();
}

}  // namespace

CLI::Option* addValueOption(CLI::App& command, const std::string& names,
                            const std::string& valueName, const std::string& help, TakeValue take) {
  CLI::Option* option = command.add_option_function<std::string>(
      names,
      [take = std::move(take)](const std::string& value) {
        if (const Status taken = take(value); !taken) throw UsageError(taken.error());
      },
      help);
  return option->type_name(valueName)->trigger_on_parse()->multi_option_policy(
      CLI::MultiOptionPolicy::TakeLast);
}

CLI::Option* addTextOption(CLI::App& command, const std::string& names,
                           const std::string& valueName, const std::string& help,
                           std::optional<std::string>& field, const std::string& emptyMessage) {
  return addValueOption(command, names, valueName, help,
                        [&field, emptyMessage](const std::string& value) {
                          if (value.empty()) return Status::failure(emptyMessage);
                          field = value;
                          return Status::success();
                        });
}

CLI::Option* addFlagOption(CLI::App& command, const std::string& names, const std::string& help,
                           bool& field) {
  return command.add_flag(names, field, help);
}

void addProfileOption(CLI::App& command, std::optional<std::string>& profile) {
  addTextOption(command, "--profile", "FILE",
                "the settings profile (default $XDG_CONFIG_HOME/tagwright/profile,\n"
                "or ~/.config/tagwright/profile; on Windows %APPDATA%\\Tagwright\\profile)",
                profile, "--profile needs a file name");
}

void addCodePageOptions(CLI::App& command, CodePageNames& pages) {
  const auto codePage = [](std::string& field, const char* name) {
    return [&field, name](const std::string& value) -> Status {
      if (value.empty()) return Status::failure(std::string(name) + " needs a code page name");
      field = value;
      return Status::success();
    };
  };
  addValueOption(command, "--ansi", "CP",
                 "the printer's ANSI code page: PutLoadedText, barcodes (default CP1251)",
                 codePage(pages.ansi, "--ansi"));
  addValueOption(command, "--oem", "CP",
                 "the printer's OEM code page: PutText, PutImage (default CP866)",
                 codePage(pages.oem, "--oem"));
}

void addDrawingOptions(CLI::App& command, DrawingOptions& drawing) {
  // Printers have 8 or 12 dots per millimetre, sold as 203 and 300 dpi.
  addValueOption(command, "--dpi", "203|300", "the printer's resolution for pictures (default 203)",
                 [&drawing](const std::string& value) -> Status {
                   if (value == "203") drawing.dotsPerMm = 8;
                   else if (value == "300") drawing.dotsPerMm = 12;
                   else return Status::failure("--dpi takes 203 or 300 (got \"" + value + "\")");
                   return Status::success();
                 });
  addTextOption(command, "--images", "DIR",
                "where pictures find the printer's stored images (Y NAME)", drawing.images,
                "--images needs a folder");
  addTextOption(command, "--font", "FILE", "the font that pictures draw printer fonts in",
                drawing.font, "--font needs a font file");
  addCodePageOptions(command, drawing.pages);
}

void addDeviceOption(CLI::App& command, DeviceList& devices) {
  addValueOption(command, "--device", "NAME=PATH",
                 "put a device or file behind a port: LPT1..LPT3, COM1..COM9, USB;\n"
                 "PATH may be tcp://HOST[:PORT], a raw network printer (port 9100),\n"
                 "or cups:QUEUE[@HOST[:PORT]], a CUPS queue (jobs sent raw)",
                 [&devices](const std::string& value) { return takeDevice(devices, value); });
}

void addPreviewFolderOption(CLI::App& command, std::optional<std::string>& folder,
                            const std::string& help) {
  addTextOption(command, "--preview", "DIR", help, folder,
                "--preview needs a folder for the pictures");
}

void addConnectTimeoutOption(CLI::App& command, Timeout& timeout, const std::string& help) {
  addSecondsOption(command, "--connect-timeout", help, timeout);
}

void addBusyTimeoutOption(CLI::App& command, Timeout& timeout) {
  addSecondsOption(command, "--busy-timeout",
                   "network printer: keep trying one that refuses, busy, for S seconds (60)",
                   timeout);
}

void addWriteTimeoutOption(CLI::App& command, Timeout& timeout) {
  addSecondsOption(command, "--write-timeout",
                   "network printer: end a job that makes no progress for S seconds (30)", timeout);
}

void addStatusTimeoutOption(CLI::App& command, Timeout& timeout) {
  addSecondsOption(command, "--status-timeout", "wait S seconds for each answer of the printer (2)",
                   timeout);
}

}  // namespace tagwright::cli
