// The virtual printer end to end on this machine: a TCP printer on
// 127.0.0.1 and a pseudo-terminal, served by the real loop on a thread of
// its own, with clients written here.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "platform/posix/unique_resource.h"
#include "support/loopback_client.h"
#include "support/running_printer.h"

namespace tagwright::cli::printer {
namespace {

using namespace std::chrono_literals;
using testing::connectTo;
using testing::portOf;
using testing::RunningPrinter;

const std::string kJob = "^Q25,3\r^W43\r^S4\r^C3\r^L\rAA,10,10,1,1,1,0,Hello\rE\r";

EngineSetup fastPrinter(std::vector<FaultRule> faults = {}) {
  EngineSetup setup;
  setup.speedFactor = 200;  // 28 mm at 4 ips: about 2 ms a label
  setup.status.processing = 2ms;
  setup.status.faults = std::move(faults);
  return setup;
}

std::unique_ptr<PrinterInput> tcpPrinter(ConnectionFault fault = ConnectionFault::None,
                                         std::size_t closeAfter = 16) {
  std::unique_ptr<PrinterInput> input = testing::loopbackTcpPrinter(fault, closeAfter);
  EXPECT_TRUE(input);
  return input;
}

void sendAll(int fd, const std::string& bytes) {
  ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL),
            static_cast<ssize_t>(bytes.size()));
}

// Reads until `count` CR LF ended lines came, the peer closed, or a second passed.
std::string readLines(int fd, int count) {
  std::string got;
  char buffer[256];
  while (std::count(got.begin(), got.end(), '\n') < count) {
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    got.append(buffer, static_cast<std::size_t>(n));
  }
  return got;
}

// Whether the peer closed or reset the connection, or kept it open for the
// socket's read time-out.
std::string howItEnds(int fd) {
  char buffer[64];
  const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
  if (n == 0) return "closed";
  if (n < 0 && errno == ECONNRESET) return "reset";
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return "open";
  return "other";
}

std::string askUntil(std::uint16_t port, const std::string& wanted) {
  std::string answer;
  for (int attempt = 0; attempt < 200 && answer != wanted; ++attempt) {
    unique_fd fd = connectTo(port);
    sendAll(fd.get(), "^XSET,IMMEDIATE,1\r~S,STATUS\r");
    answer = readLines(fd.get(), 1);
    ::shutdown(fd.get(), SHUT_WR);
    fd.reset();
    if (answer != wanted) std::this_thread::sleep_for(5ms);
  }
  return answer;
}

TEST(TcpPrinter, PrintsAJobAndAnswersOnTheSameConnection) {
  RunningPrinter printer(tcpPrinter(), fastPrinter());
  const std::uint16_t port = portOf(printer.input());
  unique_fd fd = connectTo(port);
  ASSERT_GE(fd.get(), 0);
  sendAll(fd.get(), "~S,STATUS\r");  // immediate replies still off: no answer
  sendAll(fd.get(), "^XSET,IMMEDIATE,1\r" + kJob + "~S,CHECK\r~S,STATUS\r");
  const std::string answers = readLines(fd.get(), 2);
  // The label has just arrived: data in process or printing, 3 copies left.
  ASSERT_EQ(answers.size(), 14u) << answers;
  EXPECT_TRUE(answers == "60\r\n60,00003\r\n" || answers == "50\r\n50,00003\r\n") << answers;
  ::shutdown(fd.get(), SHUT_WR);
  EXPECT_EQ(howItEnds(fd.get()), "closed");
  fd.reset();
  EXPECT_EQ(askUntil(port, "00,00000\r\n"), "00,00000\r\n");
  EXPECT_EQ(printer.stopAndJoin(), "stopped");
  const std::string log = printer.log();
  EXPECT_NE(log.find("query ~S,STATUS: not answered"), std::string::npos) << log;
  EXPECT_NE(log.find("job 1, label 1: 344 x 200 dots, 43 x 25 mm, 3 copies"), std::string::npos)
      << log;
  EXPECT_NE(log.find("ready: every label printed, 3 labels since the start"), std::string::npos);
}

TEST(TcpPrinter, AScriptedFaultIsAnswered) {
  RunningPrinter printer(tcpPrinter(), fastPrinter({{2, StatusCode::MediaEmpty}}));
  const std::uint16_t port = portOf(printer.input());
  unique_fd fd = connectTo(port);
  sendAll(fd.get(), kJob);
  ::shutdown(fd.get(), SHUT_WR);
  EXPECT_EQ(howItEnds(fd.get()), "closed");
  fd.reset();
  EXPECT_EQ(askUntil(port, "01,00001\r\n"), "01,00001\r\n");
  printer.stopAndJoin();
  EXPECT_NE(printer.log().find("fault: media empty or media jam (01) after 2 labels, 1 label left"),
            std::string::npos)
      << printer.log();
}

TEST(TcpPrinter, ConnectionFaults) {
  {
    RunningPrinter printer(tcpPrinter(ConnectionFault::Refuse), fastPrinter());
    EXPECT_EQ(connectTo(portOf(printer.input())).get(), -1);
  }
  {
    RunningPrinter printer(tcpPrinter(ConnectionFault::CloseMidJob, 10), fastPrinter());
    unique_fd fd = connectTo(portOf(printer.input()));
    ASSERT_GE(fd.get(), 0);
    sendAll(fd.get(), kJob);
    EXPECT_EQ(howItEnds(fd.get()), "reset");
    fd.reset();
    printer.stopAndJoin();
    EXPECT_NE(printer.log().find("job 1: 10 bytes, 0 labels"), std::string::npos) << printer.log();
  }
  {
    RunningPrinter printer(tcpPrinter(ConnectionFault::StopReading), fastPrinter());
    unique_fd fd = connectTo(portOf(printer.input()), 150ms);
    ASSERT_GE(fd.get(), 0);
    sendAll(fd.get(), "^XSET,IMMEDIATE,1\r~S,STATUS\r");
    EXPECT_EQ(readLines(fd.get(), 1), "");  // silence
    fd.reset();
  }
  {
    RunningPrinter printer(tcpPrinter(ConnectionFault::NeverClose), fastPrinter());
    unique_fd fd = connectTo(portOf(printer.input()), 150ms);
    ASSERT_GE(fd.get(), 0);
    sendAll(fd.get(), kJob);
    ::shutdown(fd.get(), SHUT_WR);
    EXPECT_EQ(howItEnds(fd.get()), "open");
    fd.reset();
    printer.stopAndJoin();
    EXPECT_NE(printer.log().find("job 1: " + std::to_string(kJob.size()) + " bytes, 1 label"),
              std::string::npos)
        << printer.log();
  }
}

TEST(TerminalPrinter, TakesJobsOnThePathItNamesAndAnswersThere) {
  std::unique_ptr<PrinterInput> terminal = testing::pseudoTerminalPrinter();
  ASSERT_TRUE(terminal);
  RunningPrinter printer(std::move(terminal), fastPrinter());
  const std::string path = printer.input().where();
  ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
  {
    unique_fd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    ASSERT_GE(fd.get(), 0);
    ASSERT_EQ(::write(fd.get(), kJob.data(), kJob.size()), static_cast<ssize_t>(kJob.size()));
    fd.reset();  // the end of the job
  }
  std::string answer;
  for (int attempt = 0; attempt < 200 && answer != "00,00000\r\n"; ++attempt) {
    unique_fd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    const std::string query = "^XSET,IMMEDIATE,1\r~S,STATUS\r";
    ASSERT_EQ(::write(fd.get(), query.data(), query.size()), static_cast<ssize_t>(query.size()));
    answer.clear();
    pollfd entry{fd.get(), POLLIN, 0};
    while (answer.find('\n') == std::string::npos && ::poll(&entry, 1, 1000) > 0) {
      char buffer[64];
      const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
      if (n <= 0) break;
      answer.append(buffer, static_cast<std::size_t>(n));
    }
    fd.reset();
    if (answer != "00,00000\r\n") std::this_thread::sleep_for(5ms);
  }
  EXPECT_EQ(answer, "00,00000\r\n");
  printer.stopAndJoin();
  EXPECT_NE(
      printer.log().find("job 1: " + std::to_string(kJob.size()) + " bytes, 1 label, 3 copies"),
      std::string::npos)
      << printer.log();
}

TEST(TerminalPrinter, AJobEndsWithTheQuietAfterItQueriesAside) {
  std::unique_ptr<PrinterInput> terminal = testing::pseudoTerminalPrinter();
  ASSERT_TRUE(terminal);
  RunningPrinter printer(std::move(terminal), fastPrinter());
  const std::string path = printer.input().where();
  unique_fd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_GE(fd.get(), 0);
  const std::string query = "~S,STATUS\r";
  ASSERT_EQ(::write(fd.get(), kJob.data(), kJob.size()), static_cast<ssize_t>(kJob.size()));
  // Queries inside the pause do not keep the job going.
  for (int i = 0; i < 3; ++i) {
    std::this_thread::sleep_for(TerminalInput::kJobPause / 2);
    ASSERT_EQ(::write(fd.get(), query.data(), query.size()), static_cast<ssize_t>(query.size()));
  }
  ASSERT_EQ(::write(fd.get(), kJob.data(), kJob.size()), static_cast<ssize_t>(kJob.size()));
  fd.reset();
  // The kernel hands the bytes to the printer's side a moment later.
  std::this_thread::sleep_for(TerminalInput::kJobPause / 2);
  printer.stopAndJoin();
  const std::string log = printer.log();
  EXPECT_NE(log.find("job 1: " + std::to_string(kJob.size()) + " bytes, 1 label"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("job 2: " + std::to_string(kJob.size()) + " bytes, 1 label"),
            std::string::npos)
      << log;
}

}  // namespace
}  // namespace tagwright::cli::printer
