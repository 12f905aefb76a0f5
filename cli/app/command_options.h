#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "preview/drawing_options.h"

namespace tagwright::cli {

// The options of each command, as the command line gives them
// (cli/app/command_line.h reads them). The groups first: what several
// commands take alike.

// Port names (canonical, "COM1") with what --device puts behind them.
using DeviceList = std::vector<std::pair<std::string, std::string>>;

// The devices behind the ports and how long a network printer is waited
// for: one connection attempt, refusals of a busy printer, no progress
// while sending. Nothing given: the port layer's defaults.
struct PortOptions {
  DeviceList devices;
  std::optional<std::chrono::milliseconds> connectTimeout;
  std::optional<std::chrono::milliseconds> busyTimeout;
  std::optional<std::chrono::milliseconds> writeTimeout;
};

enum class PortErrorPolicy { Ask, Abort, Retry, Ignore };

// Where run sends its jobs and how it follows them.
struct DeliveryOptions {
  PortOptions ports;
  std::optional<std::string> output;  // a file instead of the ports; "-" is standard output
  std::optional<PortErrorPolicy> onPortError;
  bool quiet = false;    // no progress lines
  bool wait = false;     // print-server queues: follow each job to its end
  bool confirm = false;  // ask the printer after each job until it has printed it
  std::optional<std::chrono::milliseconds> statusTimeout;  // each answer; nothing: the default
};

// The commands.

struct RunOptions {
  std::vector<std::string> scripts;
  std::optional<std::string> profile;
  DeliveryOptions delivery;
  DrawingOptions drawing;                    // the code pages, and the pictures of --preview
  std::optional<std::string> previewFolder;  // also draw every job sent, into this folder
  bool check = false;                        // check the scripts first
  bool strict = false;                       // with check: warnings fail it too
};

struct SettingsOptions {
  std::vector<std::string> assignments;  // KEY=VALUE
  std::optional<std::string> profile;
};

struct NamesOptions {};

struct DevicesOptions {
  std::optional<std::chrono::milliseconds> connectTimeout;  // the print server
  DeviceList map;                  // --map PORT=TARGET: saved behind the port
  std::vector<std::string> unmap;  // --unmap PORT: the saved entry taken out
};

struct DumpOptions {
  std::string file;  // "-" is standard input
  CodePageNames pages;
  bool raw = false;  // bytes above 127 as \xNN
};

struct PreviewOptions {
  std::vector<std::string> inputs;  // scripts (.tws) and printer job files
  std::optional<std::string> profile;
  std::optional<std::string> output;  // a folder, or FILE.png for one label
  DrawingOptions drawing;
};

struct CheckOptions {
  std::vector<std::string> scripts;
  std::optional<std::string> profile;
  DrawingOptions drawing;
  std::string format = "text";  // text, json or sarif
  bool strict = false;          // warnings fail the check too
  DeliveryOptions unsent;       // run's, given to check a run's command line; nothing is sent
};

// tagwright serve: the designer in the browser.
struct ServeOptions {
  std::optional<std::string> file;  // the script the page edits and saves; nothing: a new one
  std::optional<int> port;          // nothing: any free port
  std::optional<std::string> profile;
  DrawingOptions drawing;
  DeliveryOptions delivery;  // only --device is read: where Print sends, with --confirm
};

struct StatusOptions {
  std::optional<std::string> port;  // canonical; nothing: the only one given with --device
  PortOptions ports;
  std::optional<std::chrono::milliseconds> statusTimeout;
};

}  // namespace tagwright::cli
