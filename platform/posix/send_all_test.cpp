#include "platform/posix/send_all.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace tagwright {
namespace {

using std::chrono::milliseconds;

// One answer of a scripted call: bytes taken (> 0, at most what was
// offered), 0, or -1 with `error`.
struct Step {
  ssize_t result;
  int error = 0;
};

// A descriptor whose writes and polls answer as the test says; once the
// writes run out it takes everything, or (`stuck`) nothing ever again.
class ScriptedCalls final : public SystemCalls {
 public:
  ScriptedCalls(std::vector<Step> writes, bool stuck, std::vector<int> events)
      : writes_(writes.begin(), writes.end()),
        stuck_(stuck),
        polls_(events.begin(), events.end()) {}

  ssize_t writeSome(int, const void* data, std::size_t size) override { return take(data, size); }
  ssize_t sendSome(int, const void* data, std::size_t size) override {
    ++sendCalls;
    return take(data, size);
  }
  // Each scripted poll reports those events at once (a negative one: fails
  // with that errno); after them the wait runs to its time-out.
  int pollOne(pollfd& entry, int timeoutMs) override {
    ++pollCalls;
    if (polls_.empty()) {
      std::this_thread::sleep_for(milliseconds(timeoutMs));
      return 0;
    }
    const int events = polls_.front();
    polls_.pop_front();
    if (events < 0) {
      errno = -events;
      return -1;
    }
    entry.revents = static_cast<short>(events);
    return 1;
  }

  std::string received;
  int sendCalls = 0;
  int pollCalls = 0;

 private:
  ssize_t take(const void* data, std::size_t size) {
    Step step{static_cast<ssize_t>(size)};
    if (!writes_.empty()) {
      step = writes_.front();
      writes_.pop_front();
    } else if (stuck_) {
      step = Step{-1, EAGAIN};
    }
    if (step.result < 0) {
      errno = step.error;
      return -1;
    }
    const auto taken = std::min(static_cast<std::size_t>(step.result), size);
    received.append(static_cast<const char*>(data), taken);
    return static_cast<ssize_t>(taken);
  }

  std::deque<Step> writes_;
  bool stuck_;
  std::deque<int> polls_;
};

TEST(SendAll, EndsAsTheDescriptorBehavesAndCountsEveryByteTakenOnce) {
  struct Case {
    const char* what;
    std::vector<Step> writes;
    bool stuck;
    std::vector<int> polls;
    bool hangUpEnds;
    SendEnd end;
    int error;
    std::size_t sent;
  };
  const std::string bytes = "0123456789";
  const std::vector<Case> cases = {
      {"short and interrupted sends",
       {{3}, {-1, EINTR}, {2}, {-1, EINTR}, {1}},
       false,
       {},
       false,
       SendEnd::AllSent,
       0,
       10},
      {"no room, then room",
       {{4}, {-1, EAGAIN}, {0}},
       false,
       {POLLOUT, POLLOUT},
       false,
       SendEnd::AllSent,
       0,
       10},
      {"a failing send", {{4}, {-1, EPIPE}}, false, {}, false, SendEnd::CallFailed, EPIPE, 4},
      {"nothing taken for the stall time", {{6}}, true, {POLLOUT}, false, SendEnd::TimedOut, 0, 6},
      {"a hang-up, when it ends the send",
       {{-1, EAGAIN}},
       false,
       {POLLOUT | POLLHUP},
       true,
       SendEnd::WaitFailed,
       0,
       0},
      {"a hang-up left to the next send",
       {{-1, EAGAIN}, {-1, ECONNRESET}},
       false,
       {POLLHUP},
       false,
       SendEnd::CallFailed,
       ECONNRESET,
       0},
      {"an interrupted wait goes on, a failed one ends the send",
       {{-1, EAGAIN}, {-1, EAGAIN}},
       false,
       {-EINTR, -ENOMEM},
       false,
       SendEnd::WaitFailed,
       ENOMEM,
       0},
  };
  for (const Case& c : cases) {
    ScriptedCalls calls(c.writes, c.stuck, c.polls);
    SendWaits waits;
    waits.stall = milliseconds(30);
    waits.hangUpEnds = c.hangUpEnds;
    std::vector<std::size_t> progress;
    waits.afterWrite = [&](std::size_t sent) { progress.push_back(sent); };
    const auto start = std::chrono::steady_clock::now();
    const SendResult result = sendAll(calls, -1, bytes, SendCall::Send, waits);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.end, c.end) << c.what;
    EXPECT_EQ(result.error, c.error) << c.what;
    EXPECT_EQ(result.sent, c.sent) << c.what;
    EXPECT_EQ(calls.received, bytes.substr(0, c.sent)) << c.what;
    EXPECT_EQ(progress.empty() ? 0 : progress.back(), c.sent) << c.what;
    EXPECT_GT(calls.sendCalls, 0) << c.what << ": a socket is written with send()";
    if (c.end == SendEnd::TimedOut) {
      EXPECT_GE(took, waits.stall) << c.what;
      EXPECT_LT(took, milliseconds(500)) << c.what;
    }
  }
}

TEST(SendAll, WithoutWaitsADescriptorThatTakesNothingFails) {
  struct Case {
    Step write;
    int error;
  };
  for (const Case& c : std::vector<Case>{{{-1, EAGAIN}, EAGAIN}, {{0}, ENOSPC}, {{-1, EIO}, EIO}}) {
    ScriptedCalls calls({{2}, c.write}, false, {POLLOUT});
    const Status written = writeAll(calls, -1, "abcdef");
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error(), std::strerror(c.error));
    EXPECT_EQ(calls.pollCalls, 0) << "a descriptor that blocks is never waited for";
    EXPECT_EQ(calls.received, "ab");
  }
}

}  // namespace
}  // namespace tagwright
