#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/win32/transport/winsock_start.h"
#include "status/status_channel.h"
#include "support/network_test_jobs.h"
#include "wine/winsock/loopback_peer.h"

namespace tagwright::cli {
namespace {

using std::chrono::milliseconds;
using tagwright::testing::LoopbackPeer;
using tagwright::testing::shortTimeouts;

std::string tcpDevice(const LoopbackPeer& peer) { return "tcp://" + peer.address().text(); }

// What readLine gave, as one text to compare: the line, "(silence)", or
// "failed: " and the reason.
std::string readOutcome(const Result<std::optional<std::string>>& read) {
  if (!read) return "failed: " + read.error();
  return read.value() ? *read.value() : "(silence)";
}

std::string sendOutcome(const Status& sent) { return sent ? "sent" : "failed: " + sent.error(); }

// Winsock for the peers; the channel starts its own use of it.
class StatusChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Result<win32::unique_winsock> started = win32::startWinsock();
    ASSERT_TRUE(started) << started.error();
    winsock_ = std::move(started).value();
  }
  win32::unique_winsock winsock_;
};

// Answers cut anywhere come out as whole lines; the printer's close ends
// the reading with its reason.
TEST_F(StatusChannelTest, AnswersOverTcpArriveAsLinesUntilThePrinterCloses) {
  LoopbackPeer peer(LoopbackPeer::Behaviour::Answer, 0, {"00", "1,0\r", "\n002,1\r\n"});
  Result<std::unique_ptr<StatusChannel>> opened =
      openStatusChannel("COM1", tcpDevice(peer), shortTimeouts());
  ASSERT_TRUE(opened) << opened.error();
  StatusChannel& channel = *opened.value();
  EXPECT_EQ(sendOutcome(channel.send("~HS\r\n")), "sent");
  EXPECT_EQ(readOutcome(channel.readLine(milliseconds(2000))), "001,0");
  EXPECT_EQ(readOutcome(channel.readLine(milliseconds(2000))), "002,1");
  EXPECT_EQ(readOutcome(channel.readLine(milliseconds(2000))),
            "failed: the printer closed the connection");
  EXPECT_EQ(peer.received(), "~HS\r\n");
}

// run.sh puts a printer that answers behind a COM port and names it.
TEST_F(StatusChannelTest, AnswersOverACommPortArriveAsLines) {
  const char* port = std::getenv("TAGWRIGHT_TEST_COM");
  ASSERT_NE(port, nullptr) << "run this program through tests/wine/winsock/run.sh";
  Result<std::unique_ptr<StatusChannel>> opened = openStatusChannel("COM1", port, shortTimeouts());
  ASSERT_TRUE(opened) << opened.error();
  StatusChannel& channel = *opened.value();
  const auto asked = std::chrono::steady_clock::now();
  for (int query = 0; query < 2; ++query) {
    EXPECT_EQ(sendOutcome(channel.send("~HS\r\n")), "sent");
    EXPECT_EQ(readOutcome(channel.readLine(milliseconds(3000))), "001,0");
  }
  EXPECT_LT(std::chrono::steady_clock::now() - asked, milliseconds(2000))
      << "an answer ends the read, not the wait";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(readOutcome(channel.readLine(milliseconds(300))), "(silence)")
      << "nothing more was asked";
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(250))
      << "the wait is the one asked for";
}

TEST_F(StatusChannelTest, DevicesThatCannotAnswerSayWhy) {
  LoopbackPeer busy(LoopbackPeer::Behaviour::Refuse);
  const std::string file = "status-channel-test.prn";
  std::FILE* created = std::fopen(file.c_str(), "wb");
  ASSERT_NE(created, nullptr);
  std::fclose(created);

  struct Case {
    std::string device;
    std::string startOfFailure;
  };
  const Case cases[] = {
      {tcpDevice(busy), "COM1: the printer at " + busy.address().text() +
                            " still refuses the connection after 0.6 s; "},
      {"tcp://", "COM1: \"tcp://\": the printer's host name or address is missing"},
      {file, "COM1 (" + file + "): a file cannot answer"},
      {"COM42", "COM1: cannot open COM42: "},
      // Where the component may send a job but nothing comes back.
      {"LPT1", "COM1 (LPT1): a parallel port carries jobs one way and no answers"},
      {"\\\\.\\lpt2", "COM1 (\\\\.\\lpt2): a parallel port carries jobs one way and no answers"},
      {"printer:Labels",
       "COM1 (printer:Labels): a print-server queue carries jobs one way and no answers"},
      {"file:C:\\jobs.prn", "COM1 (file:C:\\jobs.prn): a file cannot answer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.device);
    Result<std::unique_ptr<StatusChannel>> opened =
        openStatusChannel("COM1", c.device, shortTimeouts());
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().substr(0, c.startOfFailure.size()), c.startOfFailure)
        << opened.error();
  }
  std::remove(file.c_str());
}

}  // namespace
}  // namespace tagwright::cli
