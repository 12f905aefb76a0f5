#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/transport/network_printer_texts.h"
#include "core/transport/network_timeouts.h"
#include "platform/posix/system_calls.h"
#include "core/transport/delivery.h"
#include "core/transport/network_address.h"
#include "platform/posix/unique_resource.h"

namespace tagwright {

// Connects to the printer at `address`: each attempt within the connect
// time-out; a refused connection (the printer is busy with another sender)
// is tried again after 10 ms, doubling up to 1 s, until the busy time-out,
// and said once through `notice`. Returns the connected socket (non-blocking,
// keep-alive on), or -1 with `error` set and the reason given to `notice`.
int connectNetworkPrinter(SystemCalls& system, const std::string& portName,
                          const TcpPrinterAddress& address, const NetworkTimeouts& timeouts,
                          const NoticeFunction& notice, std::uint32_t& error);

// One connection to a network printer, for one job. Every byte is sent
// (a short send goes on where it stopped) unless nothing moves for the stall
// time-out. finish() waits until the printer has acknowledged every byte,
// half-closes, waits a bounded time for the printer to close, and closes.
// A connection that failed, or is destroyed without finish(), is reset, so
// that the rest of a cut-off job never reaches the printer later.
class NetworkPrinterLink {
 public:
  NetworkPrinterLink(SystemCalls& system, int fd, const NetworkTimeouts& timeouts);
  ~NetworkPrinterLink();
  NetworkPrinterLink(const NetworkPrinterLink&) = delete;
  NetworkPrinterLink& operator=(const NetworkPrinterLink&) = delete;

  int fd() const { return fd_.get(); }
  // Sends all of `bytes`; false once anything has failed.
  bool send(std::string_view bytes, TransferProgress* progress);
  // Ends the connection; `offered`, `delivered` and `failure` of the result
  // are filled in.
  Delivery finish(TransferProgress* progress);

 private:
  bool fail(std::string reason);
  std::uint64_t acknowledged();
  std::uint64_t acknowledgedOfThisWrite(std::uint64_t size);
  void closeAbortively();

  SystemCalls& system_;
  unique_system_fd fd_;
  const NetworkTimeouts timeouts_;
  std::uint64_t sent_ = 0;
  std::uint64_t progressBase_ = 0;  // acknowledged bytes before the write in progress
  std::string failure_;
  std::uint64_t deliveredAtFailure_ = 0;
};

}  // namespace tagwright
