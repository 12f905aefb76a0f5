#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/app/command_options.h"
#include "virtual_printer/fault_script.h"
#include "core/util/result.h"
#include "status/printer_status.h"

namespace CLI {
class App;
}

namespace tagwright::cli::printer {

// The command line of `tagwright printer`.
struct PrinterOptions {
  enum class Source { Tcp, Terminal, File };
  Source source = Source::Tcp;
  std::string listen = "127.0.0.1:9100";
  std::string inputPath;  // kFile: a file, a named pipe, or - for standard input
  std::optional<std::string> previewFolder;
  bool json = false;
  std::optional<StatusCode> state;
  std::vector<FaultRule> faults;
  ConnectionFault connectionFault = ConnectionFault::None;
  std::size_t closeAfter = 16;
  double speedFactor = 1;
  std::size_t bufferCap = 16 * 1024 * 1024;
  bool immediateReplies = false;
  bool noAnswers = false;                    // --no-answers: queries are never answered
  std::optional<std::string> captureFolder;  // --capture: each job's bytes as DIR/jobJ.bin
  double idleTimeout = 30;                   // seconds a TCP connection may send nothing
  bool once = false;
  DrawingOptions drawing;  // how the labels are drawn, as for the preview command
};

// Declares the printer's options on its command; `options` takes their
// values as they are read.
void addPrinterOptions(CLI::App& command, PrinterOptions& options);

// What is wrong with the options together (two sources, a connection fault
// without TCP), after the whole command line is read.
Status printerOptionsError(const CLI::App& command, const PrinterOptions& options);

}  // namespace tagwright::cli::printer
