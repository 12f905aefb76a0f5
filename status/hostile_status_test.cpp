// Network printers that answer status queries badly on purpose: a reply
// that never ends, a flood, bytes that would steer a terminal, a trickle.
// The status client must come back within its wait, hold little, and say
// what it got in printable words.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/posix/unique_resource.h"
#include "status/answer_lines.h"
#include "status/status_channel.h"
#include "status/status_query.h"

namespace tagwright::cli {
namespace {

using namespace std::chrono_literals;

// A printer on 127.0.0.1 that takes one connection and plays `peer` on it
// until the client goes (a send fails) or the test ends.
class HostilePrinter {
 public:
  using Peer = std::function<void(int fd, const std::atomic<bool>& done)>;

  explicit HostilePrinter(Peer peer) : listener_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_.get(), 4);
    ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, peer] {
      unique_fd fd(::accept(listener_.get(), nullptr, nullptr));
      if (fd && !done_) peer(fd.get(), done_);
    });
  }
  ~HostilePrinter() {
    done_ = true;
    ::shutdown(listener_.get(), SHUT_RDWR);
    thread_.join();
  }
  std::string device() const { return "tcp://127.0.0.1:" + std::to_string(port_); }

 private:
  unique_fd listener_;
  int port_ = 0;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

bool sendSome(int fd, std::string_view bytes) {
  return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) > 0;
}

// Waits for the query to arrive, so that what follows is its answer.
void readQuery(int fd) {
  char buffer[256];
  ::recv(fd, buffer, sizeof buffer, 0);
}

long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

TEST(HostileStatusPeers, EachIsAnsweredWithinTheWaitInPrintableWords) {
  struct Case {
    const char* name;
    HostilePrinter::Peer peer;
    StatusAnswer::Kind kind;
    std::string detail;  // the start of what the answer says
  };
  const std::string endless(64 * 1024, '7');
  static constexpr char kSteering[] = "\x1b]0;owned\x07\x1b[2J\0\xff\\";
  const Case cases[] = {
      {"a reply that never ends, flooding from the first moment",
       [&](int fd, const std::atomic<bool>& done) {
         while (!done && sendSome(fd, endless)) {
         }
       },
       StatusAnswer::Kind::Garbled, std::string(AnswerLines::kLongestLine, '7')},
      {"bytes that would steer a terminal",
       [&](int fd, const std::atomic<bool>&) {
         readQuery(fd);
         sendSome(fd, std::string(kSteering, sizeof kSteering - 1) + "\r\n");
       },
       StatusAnswer::Kind::Garbled, "\\x1B]0;owned\\x07\\x1B[2J\\x00\\xFF\\x5C"},
      {"one byte at a time, never a line",
       [](int fd, const std::atomic<bool>& done) {
         readQuery(fd);
         while (!done && sendSome(fd, "0")) std::this_thread::sleep_for(50ms);
       },
       StatusAnswer::Kind::Silent, ""},
      {"a status among noise is still no status",
       [](int fd, const std::atomic<bool>&) {
         readQuery(fd);
         sendSome(fd, "00,00000garbage\r\n");
       },
       StatusAnswer::Kind::Garbled, "00,00000garbage"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostilePrinter printer(c.peer);
    NetworkTimeouts timeouts;
    timeouts.connect = 1000ms;
    auto channel = openStatusChannel("LPT1", printer.device(), timeouts);
    ASSERT_TRUE(channel) << channel.error();
    const long before = residentKilobytes();
    const auto start = std::chrono::steady_clock::now();
    const StatusAnswer answer = askStatus(*channel.value(), 500ms, true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_EQ(answer.kind, c.kind) << answer.detail;
    EXPECT_EQ(answer.detail.substr(0, c.detail.size()), c.detail);
    EXPECT_LE(answer.detail.size(), 4 * AnswerLines::kLongestLine);
    for (const char ch : answer.detail) EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << int(ch);
    EXPECT_LT(residentKilobytes() - before, 8 * 1024);
    channel.value().reset();
  }
}

// The wait for a job to print ends at the first answer that is no status.
TEST(HostileStatusPeers, AnEndlessReplyEndsTheWaitForAJobWithItsReason) {
  const std::string endless(64 * 1024, 'x');
  HostilePrinter printer([&](int fd, const std::atomic<bool>& done) {
    while (!done && sendSome(fd, endless)) {
    }
  });
  auto channel = openStatusChannel("LPT1", printer.device(), NetworkTimeouts{});
  ASSERT_TRUE(channel);
  ConfirmTimes times;
  times.answer = 500ms;
  const auto start = std::chrono::steady_clock::now();
  const Confirmation confirmation = waitUntilPrinted(*channel.value(), times);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
  EXPECT_FALSE(confirmation.printed);
  EXPECT_EQ(confirmation.reason.rfind("the printer answered \"xxxx", 0), 0u) << confirmation.reason;
  EXPECT_LT(confirmation.reason.size(), 400u);
}

TEST(HostileStatusPeers, AnAnswerTooLongIsCutAndItsRestSkipped) {
  AnswerLines lines;
  const std::string longLine(10 * AnswerLines::kLongestLine, 'z');
  for (int i = 0; i < 100; ++i) {
    lines.append(longLine.data(), longLine.size());
    ASSERT_LE(lines.held(), AnswerLines::kLongestLine + 1);
  }
  lines.append("zz\r\n00,00000\r\n", 14);
  EXPECT_EQ(lines.take(), std::string(AnswerLines::kLongestLine, 'z'));
  EXPECT_EQ(lines.take(), "00,00000");
  EXPECT_EQ(lines.take(), std::nullopt);
}

}  // namespace
}  // namespace tagwright::cli
