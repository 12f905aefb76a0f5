#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "virtual_printer/fault_script.h"
#include "virtual_printer/printer_input.h"
#include "virtual_printer/printer_log.h"
#include "core/util/result.h"
#include "virtual_printer/printer_socket.h"

namespace tagwright::cli::printer {

// A raw network printer: one connection at a time, as printers take them
// (later ones wait in the queue), each connection one job, the answers to
// status queries sent back on it. Connection faults make it misbehave.
class TcpInput final : public PrinterInput {
 public:
  struct Setup {
    std::string listen = "127.0.0.1:9100";  // HOST:PORT, [IPv6]:PORT; port 0: any free one
    ConnectionFault fault = ConnectionFault::None;
    std::size_t closeAfter = 16;  // close-mid-job: bytes read before the connection is closed
    // A connection that sends nothing for this long is ended, so that a
    // client that stalls (or trickles) cannot keep the printer from others.
    std::chrono::milliseconds idleTimeout{30000};
    // Connections taken while one is served, to wait their turn; past this
    // many the rest are turned away (reset), each with a notice.
    std::size_t mostWaiting = 16;
  };

  // Binds (and listens, unless it is to refuse), or says why it cannot.
  static Result<std::unique_ptr<TcpInput>> open(const Setup& setup, PrinterLog& log);

  std::string kind() const override { return "tcp"; }
  std::string where() const override { return address_; }
  void pollEntries(std::vector<WaitEntry>& entries, int& retryAfterMs) override;
  bool serve(const std::vector<WaitEntry>& entries, std::size_t first, PrinterEngine& engine,
             PrinterClock::time_point now) override;
  int jobsEnded() const override { return jobsEnded_; }
  std::size_t waiting() const { return waiting_.size(); }

 private:
  TcpInput(Setup setup, unique_wait_handle listener, std::string address, PrinterLog& log);
  void accept(PrinterClock::time_point now);
  void queue();
  void endIfIdle(PrinterEngine& engine, PrinterClock::time_point now);
  bool readConnection(PrinterEngine& engine, PrinterClock::time_point now);
  void endConnection(PrinterEngine& engine, PrinterClock::time_point now, bool reset);
  void answer(const std::string& bytes);

  Setup setup_;
  unique_wait_handle listener_;
  std::string address_;
  PrinterLog& log_;
  unique_wait_handle connection_;
  std::size_t connectionBytes_ = 0;
  std::string peer_;
  PrinterClock::time_point lastHeard_{};
  std::deque<AcceptedSocket> waiting_;    // taken, not yet served, oldest first
  std::vector<unique_wait_handle> held_;  // never-close: connections whose sender is done
  int jobsEnded_ = 0;
};

// "127.0.0.1:9100" -> the host and port parts; "[::1]:0" -> "::1", "0".
Result<std::pair<std::string, std::string>> splitListenAddress(const std::string& text);

}  // namespace tagwright::cli::printer
