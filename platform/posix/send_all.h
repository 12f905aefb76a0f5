#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

#include "core/util/result.h"
#include "platform/posix/system_calls.h"

namespace tagwright {

// Which call moves the bytes.
enum class SendCall {
  Write,  // write(): files, terminals, devices
  Send,   // send() without SIGPIPE: sockets
};

// How sendAll() waits while the descriptor takes nothing (EAGAIN, or a
// call that takes no bytes).
struct SendWaits {
  // Gives up once nothing has been taken for this long.
  std::chrono::milliseconds stall{};
  // Instead of the stall: gives up at this time, however the bytes move.
  std::optional<std::chrono::steady_clock::time_point> deadline;
  // The longest single wait, so that `afterWait` is called meanwhile.
  std::chrono::milliseconds longestWait{60000};
  // An error or a hang-up that poll() reports ends the transfer then and
  // there, instead of being left to the next call to report.
  bool hangUpEnds = false;
  // After each call that took bytes, with the bytes taken so far.
  std::function<void(std::size_t sent)> afterWrite;
  // After each wait, whatever it ended with.
  std::function<void()> afterWait;
};

enum class SendEnd {
  AllSent,
  CallFailed,  // the write or send failed with `error`
  WaitFailed,  // poll() failed with `error`, or (hangUpEnds) reported an error or a hang-up
  TimedOut,    // nothing was taken for the stall time, or the deadline passed
};

struct SendResult {
  std::size_t sent = 0;
  SendEnd end = SendEnd::AllSent;
  int error = 0;  // errno of the call that failed; 0 for a hang-up and a time-out
  bool ok() const { return end == SendEnd::AllSent; }
};

// Sends all of `bytes` to `fd` through `calls`: a short write goes on where
// it stopped, an interrupted one is made again, and a descriptor that takes
// nothing for now is waited for with poll() as `waits` says. Every byte that
// was taken is counted in `sent`, whatever the end; nothing is sent twice.
SendResult sendAll(SystemCalls& calls, int fd, std::string_view bytes, SendCall call,
                   const SendWaits& waits);

// The same loop for a descriptor that blocks (a file, standard output), with
// no waits; a failure says what the write that failed met (its errno's text,
// EAGAIN too; a write that takes nothing counts as ENOSPC).
Status writeAll(SystemCalls& calls, int fd, std::string_view bytes);

}  // namespace tagwright
