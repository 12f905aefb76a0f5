#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/util/result.h"

namespace tagwright::cli {

enum class PortErrorPolicy { Ask, Abort, Retry, Ignore };

struct Options {
  std::string command;  // run, settings, names, dump, preview, check, devices, status, printer
  std::vector<std::string> operands;  // scripts, KEY=VALUE pairs, the dump file, preview inputs
  std::optional<std::string> profile;
  std::vector<std::pair<std::string, std::string>> devices;  // port name, path
  // Network printers: one connection attempt, refusals of a busy printer,
  // no progress while sending. Nothing given: the port layer's defaults.
  std::optional<std::chrono::milliseconds> connectTimeout;
  std::optional<std::chrono::milliseconds> busyTimeout;
  std::optional<std::chrono::milliseconds> writeTimeout;
  bool quiet = false;  // no progress lines
  bool wait = false;   // print-server queues: follow each job to its end
  // Status queries: run --confirm asks after each job; status and --confirm
  // wait this long for each answer (nothing: the default).
  bool confirm = false;
  std::optional<std::chrono::milliseconds> statusTimeout;
  std::optional<std::string> output;  // run: "-" is standard output; preview: a folder or FILE.png
  std::optional<PortErrorPolicy> onPortError;
  std::string ansi = "CP1251";
  std::string oem = "CP866";
  bool raw = false;  // dump: show bytes above 127 as \xNN
  // Pictures of the labels: the printer's resolution, where stored images
  // are found, the font, and (run --preview) the folder they go to.
  int dotsPerMm = 8;
  std::optional<std::string> images;
  std::optional<std::string> font;
  std::optional<std::string> previewFolder;
  // check, and run --check: how findings are shown, whether warnings fail.
  std::string format = "text";
  bool strict = false;
  bool check = false;
  bool help = false;
  bool version = false;
};

// The options, or the message of a usage error.
using OptionsParse = Result<Options>;

// Options may stand before or after the command, as "--name value" or
// "--name=value"; "--" ends the options.
OptionsParse parseOptions(const std::vector<std::string>& args);

// "LPT1".."LPT3", "COM1".."COM9", "USB", in any letter case; the canonical
// upper-case name, or nothing.
std::optional<std::string> canonicalPortName(const std::string& name);

// Seconds as the time-out options take them: a positive number, with at
// most three decimals, up to a day ("5", "0.25"); nothing for anything else.
std::optional<std::chrono::milliseconds> parseSeconds(const std::string& text);

std::string usageText();

// Whether a path names a PNG file (ends with .png in any letter case).
bool endsWithPng(const std::string& path);

}  // namespace tagwright::cli
