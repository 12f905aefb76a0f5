#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "virtual_printer/printer_engine.h"
#include "virtual_printer/printer_loop.h"
#include "virtual_printer/tcp_input.h"
#ifndef _WIN32
#include "virtual_printer/terminal_input.h"
#endif

namespace tagwright::testing {

// The virtual printer's loop over one input on a thread of its own, logging
// into a string; stopped and joined when it goes.
class RunningPrinter {
 public:
  RunningPrinter(std::unique_ptr<cli::printer::PrinterInput> input, cli::printer::EngineSetup setup)
      : log_(out_, false), input_(std::move(input)), engine_(std::move(setup), log_) {
    thread_ = std::thread([this] { reason_ = cli::printer::runPrinter(*input_, engine_, stop_); });
  }
  ~RunningPrinter() { stopAndJoin(); }
  RunningPrinter(const RunningPrinter&) = delete;
  RunningPrinter& operator=(const RunningPrinter&) = delete;

  // Why the loop ended.
  std::string stopAndJoin() {
    if (thread_.joinable()) {
      stop_.stop();
      thread_.join();
    }
    return reason_;
  }
  // Only after stopAndJoin().
  std::string log() const { return out_.str(); }
  cli::printer::PrinterInput& input() { return *input_; }

 private:
  std::ostringstream out_;
  cli::printer::PrinterLog log_;
  std::unique_ptr<cli::printer::PrinterInput> input_;
  cli::printer::PrinterEngine engine_;
  cli::printer::WakePipe stop_;
  std::string reason_;
  std::thread thread_;
};

// Notices of inputs made before their printer's log exists; not looked at.
inline cli::printer::PrinterLog& discardedNotices() {
  static std::ostringstream sink;
  static cli::printer::PrinterLog log(sink, false);
  return log;
}

// A TCP printer on 127.0.0.1, on a free port.
inline std::unique_ptr<cli::printer::PrinterInput> loopbackTcpPrinter(
    cli::printer::ConnectionFault fault = cli::printer::ConnectionFault::None,
    std::size_t closeAfter = 16) {
  cli::printer::TcpInput::Setup setup;
  setup.listen = "127.0.0.1:0";
  setup.fault = fault;
  setup.closeAfter = closeAfter;
  auto opened = cli::printer::TcpInput::open(setup, discardedNotices());
  if (!opened) return nullptr;
  return std::move(opened).value();
}

#ifndef _WIN32
inline std::unique_ptr<cli::printer::PrinterInput> pseudoTerminalPrinter() {
  auto opened = cli::printer::TerminalInput::open(discardedNotices());
  if (!opened) return nullptr;
  return std::move(opened).value();
}
#endif

}  // namespace tagwright::testing
