#include "platform/posix/send_all.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace tagwright {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Pause when a descriptor says it has room but takes nothing (drivers
// without poll support), so that the loop does not spin.
constexpr milliseconds kBusyPause{10};

ssize_t sendSome(SystemCalls& calls, SendCall call, int fd, std::string_view bytes) {
  return retryInterrupted([&] {
    return call == SendCall::Send ? calls.sendSome(fd, bytes.data(), bytes.size())
                                  : calls.writeSome(fd, bytes.data(), bytes.size());
  });
}

SendResult ended(std::size_t sent, SendEnd end, int error) { return SendResult{sent, end, error}; }

// The loop of both: without `waits`, a descriptor that takes nothing ends it.
SendResult sendAllOrStop(SystemCalls& calls, int fd, std::string_view bytes, SendCall call,
                         const SendWaits* waits) {
  std::size_t sent = 0;
  Clock::time_point lastProgress = Clock::now();
  bool saidReady = false;
  while (sent < bytes.size()) {
    const ssize_t n = sendSome(calls, call, fd, bytes.substr(sent));
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      lastProgress = Clock::now();
      saidReady = false;
      if (waits && waits->afterWrite) waits->afterWrite(sent);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      return ended(sent, SendEnd::CallFailed, errno);
    }
    if (!waits) return ended(sent, SendEnd::CallFailed, n == 0 ? ENOSPC : errno);

    // No room: wait for it, but not past the end.
    if (saidReady) std::this_thread::sleep_for(kBusyPause);
    const Clock::time_point end = waits->deadline ? *waits->deadline : lastProgress + waits->stall;
    const milliseconds left = std::chrono::ceil<milliseconds>(end - Clock::now());
    if (left.count() <= 0) return ended(sent, SendEnd::TimedOut, 0);
    pollfd entry{fd, POLLOUT, 0};
    const int ready =
        calls.pollOne(entry, static_cast<int>(std::min(left, waits->longestWait).count()));
    if (ready < 0 && errno != EINTR) return ended(sent, SendEnd::WaitFailed, errno);
    if (ready > 0 && waits->hangUpEnds && (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      return ended(sent, SendEnd::WaitFailed, 0);
    }
    saidReady = ready > 0;
    if (waits->afterWait) waits->afterWait();
  }
  return ended(sent, SendEnd::AllSent, 0);
}

}  // namespace

SendResult sendAll(SystemCalls& calls, int fd, std::string_view bytes, SendCall call,
                   const SendWaits& waits) {
  return sendAllOrStop(calls, fd, bytes, call, &waits);
}

Status writeAll(SystemCalls& calls, int fd, std::string_view bytes) {
  const int error = sendAllOrStop(calls, fd, bytes, SendCall::Write, nullptr).error;
  if (error == 0) return Status::success();
  return Status::failure(std::strerror(error));
}

}  // namespace tagwright
