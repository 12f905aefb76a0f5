#include "cli/commands/printer_command.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "preview/util/utf8_path.h"
#include "virtual_printer/printer_loop.h"
#include "virtual_printer/tcp_input.h"
#ifndef _WIN32
#include "virtual_printer/file_input.h"
#include "virtual_printer/terminal_input.h"
#endif

namespace tagwright::cli::printer {
namespace {

constexpr int kStopped = 0;
constexpr int kCannotStart = 2;

Result<std::unique_ptr<PrinterInput>> openInput(const PrinterOptions& options, PrinterLog& log) {
  using Opened = Result<std::unique_ptr<PrinterInput>>;
  switch (options.source) {
    case PrinterOptions::Source::Tcp: {
      TcpInput::Setup setup;
      setup.listen = options.listen;
      setup.fault = options.connectionFault;
      setup.closeAfter = options.closeAfter;
      setup.idleTimeout =
          std::chrono::milliseconds(static_cast<long long>(options.idleTimeout * 1000 + 0.5));
      auto opened = TcpInput::open(setup, log);
      if (!opened) return Opened::failure(opened.error());
      return std::unique_ptr<PrinterInput>(std::move(opened).value());
    }
#ifdef _WIN32
    // Refused with the options already (printerOptionsError).
    case PrinterOptions::Source::Terminal:
    case PrinterOptions::Source::File: break;
  }
  return Opened::failure("only --listen runs on Windows");
#else
    case PrinterOptions::Source::Terminal: {
      auto opened = TerminalInput::open(log);
      if (!opened) return Opened::failure(opened.error());
      return std::unique_ptr<PrinterInput>(std::move(opened).value());
    }
    case PrinterOptions::Source::File: break;
  }
  auto opened = FileInput::open(options.inputPath, log);
  if (!opened) return Opened::failure(opened.error());
  return std::unique_ptr<PrinterInput>(std::move(opened).value());
#endif
}

EngineSetup engineSetup(const PrinterOptions& options) {
  EngineSetup setup;
  setup.preview.dotsPerMm = options.drawing.dotsPerMm;
  setup.preview.imageFolder = options.drawing.images.value_or("");
  setup.preview.fontFile = options.drawing.font.value_or("");
  setup.preview.ansiCodePage = options.drawing.pages.ansi;
  setup.preview.oemCodePage = options.drawing.pages.oem;
  setup.pictureFolder = options.previewFolder;
  setup.speedFactor = options.speedFactor;
  setup.status.fixedState = options.state;
  setup.status.faults = options.faults;
  // Data in process lasts a moment on a real printer; it shrinks with the
  // rest of the print time.
  setup.status.processing = std::chrono::duration_cast<PrinterClock::duration>(
      std::chrono::duration<double>(0.2 / options.speedFactor));
  setup.bufferCap = options.bufferCap;
  setup.immediateReplies = options.immediateReplies;
  setup.answerQueries = !options.noAnswers;
  setup.captureFolder = options.captureFolder;
  return setup;
}

}  // namespace

int printerCommand(const PrinterOptions& options, std::ostream& out, std::ostream& err) {
  for (const auto& folder : {options.previewFolder, options.captureFolder}) {
    if (!folder) continue;
    std::error_code error;
    std::filesystem::create_directories(preview::pathFromUtf8(*folder), error);
    if (error) {
      err << "tagwright: printer: cannot make the folder " << *folder << " (" << error.message()
          << ")\n";
      return kCannotStart;
    }
  }
  PrinterLog log(out, options.json);
  Result<std::unique_ptr<PrinterInput>> input = openInput(options, log);
  if (!input) {
    err << "tagwright: printer: " << input.error() << '\n';
    return kCannotStart;
  }
  WakePipe stop;
  if (!stop.ok()) {
    err << "tagwright: printer: cannot make the pipe that stops it\n";
    return kCannotStart;
  }
  SignalStop signals(stop);
  PrinterEngine engine(engineSetup(options), log);
  log.listening(input.value()->kind(), input.value()->where());
  if (options.connectionFault == ConnectionFault::Refuse) {
    log.notice("refuses every connection (refuse)");
  }
  const std::string reason = runPrinter(*input.value(), engine, stop, options.once ? 1 : 0);
  log.stopped(reason);
  return kStopped;
}

}  // namespace tagwright::cli::printer
