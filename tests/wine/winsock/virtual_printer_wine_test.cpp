// The virtual printer over Winsock: the loopback pair that wakes its wait,
// and the TCP printer served by the real loop, with a client written here,
// in the connection faults whose ends Winsock reports in its own way.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/win32/transport/winsock_start.h"
#include "platform/win32/unique_resource.h"
#include "support/running_printer.h"
#include "virtual_printer/wake_pipe.h"

namespace tagwright::cli::printer {
namespace {

using namespace std::chrono_literals;
using testing::RunningPrinter;
using win32::unique_socket;

const std::string kJob = "^Q25,3\r^W43\r^S4\r^C3\r^L\rAA,10,10,1,1,1,0,Hello\rE\r";

class WinsockPrinter : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(winsock_) << winsock_.error(); }

  static EngineSetup fastPrinter() {
    EngineSetup setup;
    setup.speedFactor = 200;
    setup.status.processing = 2ms;
    return setup;
  }

  // A blocking client whose reads give up after `wait`; none when refused.
  static unique_socket connectTo(PrinterInput& input, std::chrono::milliseconds wait = 1000ms) {
    const std::string where = input.where();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(std::stoi(where.substr(where.rfind(':') + 1))));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    unique_socket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (::connect(socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      return unique_socket();
    }
    const DWORD limit = static_cast<DWORD>(wait.count());
    ::setsockopt(socket.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit),
                 sizeof limit);
    return socket;
  }

  static void sendAll(SOCKET socket, const std::string& bytes) {
    ASSERT_EQ(::send(socket, bytes.data(), static_cast<int>(bytes.size()), 0),
              static_cast<int>(bytes.size()));
  }

  // What the printer did with the connection: answered (the bytes), closed,
  // reset, or kept it open for the read time-out.
  static std::string howItEnds(SOCKET socket) {
    char buffer[64];
    const int n = ::recv(socket, buffer, sizeof buffer, 0);
    if (n > 0) return std::string(buffer, static_cast<std::size_t>(n));
    if (n == 0) return "closed";
    const int error = ::WSAGetLastError();
    if (error == WSAECONNRESET) return "reset";
    if (error == WSAETIMEDOUT) return "open";
    return "error " + std::to_string(error);
  }

  Result<win32::unique_winsock> winsock_ = win32::startWinsock();
};

TEST_F(WinsockPrinter, TheWakePairWakesTheWaitOnlyWhenStopped) {
  WakePipe wake;
  ASSERT_TRUE(wake.ok());
  std::vector<WaitEntry> entries{WaitEntry{wake.waitHandle()}};
  Result<int> waited = waitForEntries(entries, 50);
  ASSERT_TRUE(waited) << waited.error();
  EXPECT_EQ(waited.value(), 0);
  EXPECT_FALSE(entries[0].ready());
  wake.stop();
  waited = waitForEntries(entries, 1000);
  ASSERT_TRUE(waited) << waited.error();
  EXPECT_EQ(waited.value(), 1);
  EXPECT_TRUE(entries[0].readable);
  EXPECT_EQ(wake.signalSeen(), "");
}

TEST_F(WinsockPrinter, AnswersAndEndsConnectionsAsItsFaultSays) {
  struct Case {
    ConnectionFault fault;
    std::string sent;
    bool halfClose;  // the client says it is done sending
    std::string ending;
    std::string logged;
    bool inLog = true;  // false: `logged` must not be in the log
  } cases[] = {
      {ConnectionFault::None, "^XSET,IMMEDIATE,1\r~S,STATUS\r", false, "00,00000\r\n",
       "query ~S,STATUS: answered 00,00000"},
      {ConnectionFault::None, kJob, true, "closed", "job 1, label 1: 344 x 200 dots"},
      {ConnectionFault::CloseMidJob, kJob, false, "reset", "job 1: 10 bytes, 0 labels"},
      {ConnectionFault::StopReading, "^XSET,IMMEDIATE,1\r~S,STATUS\r", false, "open", "query",
       false},
      {ConnectionFault::NeverClose, kJob, true, "open",
       "job 1: " + std::to_string(kJob.size()) + " bytes, 1 label"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logged);
    RunningPrinter printer(testing::loopbackTcpPrinter(c.fault, 10), fastPrinter());
    unique_socket socket = connectTo(printer.input(), 300ms);
    ASSERT_TRUE(socket);
    sendAll(socket.get(), c.sent);
    if (c.halfClose) ::shutdown(socket.get(), SD_SEND);
    EXPECT_EQ(howItEnds(socket.get()), c.ending);
    socket.reset();
    EXPECT_EQ(printer.stopAndJoin(), "stopped");
    EXPECT_EQ(printer.log().find(c.logged) != std::string::npos, c.inLog) << printer.log();
  }
}

TEST_F(WinsockPrinter, ARefusingPrinterTurnsConnectionsAway) {
  RunningPrinter printer(testing::loopbackTcpPrinter(ConnectionFault::Refuse), fastPrinter());
  EXPECT_FALSE(connectTo(printer.input()));
}

}  // namespace
}  // namespace tagwright::cli::printer
