#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/printer/fault_script.h"
#include "cli/status/printer_status.h"
#include "core/util/result.h"

namespace tagwright::cli::printer {

// The command line of `tagwright printer`.
struct PrinterOptions {
  enum class Source { kTcp, kTerminal, kFile };
  Source source = Source::kTcp;
  std::string listen = "127.0.0.1:9100";
  std::string inputPath;  // kFile: a file, a named pipe, or - for standard input
  std::optional<std::string> previewFolder;
  bool json = false;
  std::optional<StatusCode> state;
  std::vector<FaultRule> faults;
  ConnectionFault connectionFault = ConnectionFault::kNone;
  std::size_t closeAfter = 16;
  double speedFactor = 1;
  std::size_t bufferCap = 16 * 1024 * 1024;
  bool immediateReplies = false;
  bool once = false;
  // How the labels are drawn, as for the preview command.
  int dotsPerMm = 8;
  std::optional<std::string> images;
  std::optional<std::string> font;
  std::string ansi = "CP1251";
  std::string oem = "CP866";
};

// Reads the words after `printer`; starts from `defaults` (the options
// given before the command word: resolution, code pages, fonts).
Result<PrinterOptions> parsePrinterOptions(const std::vector<std::string>& args,
                                           PrinterOptions defaults = {});

std::string printerUsage();

}  // namespace tagwright::cli::printer
