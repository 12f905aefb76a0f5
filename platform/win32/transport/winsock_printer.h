#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/transport/delivery.h"
#include "core/transport/network_address.h"
#include "core/transport/network_printer_texts.h"
#include "core/transport/network_timeouts.h"
#include "platform/win32/unique_resource.h"

namespace tagwright::win32 {

// Connects to the raw network printer at `address` over Winsock (started by
// the caller): each attempt within the connect time-out; a refused
// connection (the printer is busy with another sender) is tried again as
// BusyBackoff says, until the busy time-out, and said once through
// `notice`. Returns the connected socket (non-blocking, keep-alive on), or
// none with `error` set to the Winsock error (WSAECONNREFUSED and so on) and
// the reason given to `notice`.
unique_socket connectWinsockPrinter(const std::string& portName, const TcpPrinterAddress& address,
                                    const NetworkTimeouts& timeouts, const NoticeFunction& notice,
                                    std::uint32_t& error);

// One connection to a network printer, for one job. Every byte is sent
// unless nothing moves for the stall time-out. Winsock keeps no count of
// the bytes the printer has acknowledged, so the count of a failed job is
// what was sent less all that the system can still hold (its send buffer
// and one send), never more than arrived; and a job is complete only when
// the printer, after the half-close, closes its side, which it does once it
// has read the last byte. A connection that failed, or is destroyed
// without finish(), is reset, so that the rest of a cut-off job never
// reaches the printer later.
class WinsockPrinterLink {
 public:
  WinsockPrinterLink(unique_socket socket, const NetworkTimeouts& timeouts);
  ~WinsockPrinterLink();
  WinsockPrinterLink(const WinsockPrinterLink&) = delete;
  WinsockPrinterLink& operator=(const WinsockPrinterLink&) = delete;

  // Sends all of `bytes`; false once anything has failed.
  bool send(std::string_view bytes, TransferProgress* progress);
  // Ends the connection; `offered`, `delivered` and `failure` of the result
  // are filled in.
  Delivery finish(TransferProgress* progress);

 private:
  bool fail(std::string reason);
  std::uint64_t surelyArrived() const;
  void closeAbortively();

  unique_socket socket_;
  const NetworkTimeouts timeouts_;
  std::uint64_t held_ = 0;  // the most the system can hold unacknowledged
  std::uint64_t sent_ = 0;
  std::uint64_t lastWriteSize_ = 0;  // for the progress of the last write
  std::string failure_;
  std::uint64_t deliveredAtFailure_ = 0;
};

}  // namespace tagwright::win32
