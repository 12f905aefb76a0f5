#include <gtest/gtest.h>

#include <cstdio>
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
  EXPECT_EQ(channel.send("~HS\r\n"), std::nullopt);
  std::string why;
  EXPECT_EQ(channel.readLine(milliseconds(2000), why), std::optional<std::string>("001,0"));
  EXPECT_EQ(channel.readLine(milliseconds(2000), why), std::optional<std::string>("002,1"));
  EXPECT_EQ(channel.readLine(milliseconds(2000), why), std::nullopt);
  EXPECT_EQ(why, "the printer closed the connection");
  EXPECT_EQ(peer.received(), "~HS\r\n");
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
