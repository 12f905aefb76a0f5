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
  virtual std::optional<std::string> send(std::string_view bytes) = 0;
  // The next answer line without its CR LF; nothing when none came whole
  // within `wait` (`why` then says what happened, if more than silence).
  virtual std::optional<std::string> readLine(std::chrono::milliseconds wait, std::string& why) = 0;
  // Throws away what arrived unasked (answers to earlier queries).
  virtual void discardPending() = 0;
};

// Why a device cannot answer, in words, or nothing when it can: a
// print-server queue and a file carry no answers.
std::optional<std::string> whyNoAnswersFrom(const std::string& device);

// Opens a channel to the printer at `device` (tcp://HOST[:PORT] or a
// device path) behind `portName`.
Result<std::unique_ptr<StatusChannel>> openStatusChannel(const std::string& portName,
                                                         const std::string& device,
                                                         const NetworkTimeouts& timeouts);

}  // namespace tagwright::cli
