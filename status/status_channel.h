#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/util/result.h"
#include "core/transport/network_timeouts.h"

namespace tagwright::cli {

// A two-way connection to a printer, on which it answers status queries:
// a TCP connection to a network printer, or a serial line (a terminal,
// a pseudo-terminal, a USB printer node).
class StatusChannel {
 public:
  virtual ~StatusChannel() = default;
  // Sends `bytes` whole, or says why it could not.
  virtual Status send(std::string_view bytes) = 0;
  // The next answer line without its CR LF; nothing when none came whole
  // within `wait`; a failure when the connection broke (closed, an error).
  virtual Result<std::optional<std::string>> readLine(std::chrono::milliseconds wait) = 0;
  // Throws away what arrived unasked (answers to earlier queries).
  virtual void discardPending() = 0;
};

// Whether a device can answer; the failure says why not, in words: a
// print-server queue and a file carry no answers.
Status canAnswer(const std::string& device);

// Opens a channel to the printer at `device` (tcp://HOST[:PORT] or a
// device path) behind `portName`.
Result<std::unique_ptr<StatusChannel>> openStatusChannel(const std::string& portName,
                                                         const std::string& device,
                                                         const NetworkTimeouts& timeouts);

}  // namespace tagwright::cli
