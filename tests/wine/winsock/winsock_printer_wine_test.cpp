#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/win32/transport/winsock_printer.h"
#include "platform/win32/transport/winsock_start.h"
#include "support/network_test_jobs.h"
#include "wine/winsock/loopback_peer.h"

namespace tagwright::win32 {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using testing::jobOfSize;
using testing::LoopbackPeer;
using testing::shortTimeouts;

milliseconds since(Clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

class WinsockPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Result<unique_winsock> started = startWinsock();
    ASSERT_TRUE(started) << started.error();
    winsock_ = std::move(started).value();
  }

  unique_socket connect(const TcpPrinterAddress& address, std::uint32_t& error) {
    return connectWinsockPrinter(
        "LPT1", address, shortTimeouts(),
        [this](const std::string& line) { notices_.push_back(line); }, error);
  }

  unique_winsock winsock_;  // first: ends last
  std::vector<std::string> notices_;
};

TEST_F(WinsockPrinterTest, PrinterThatReadsTakesTheJobByteForByte) {
  LoopbackPeer peer(LoopbackPeer::Behaviour::ReadAll);
  std::uint32_t error = 0;
  unique_socket socket = connect(peer.address(), error);
  ASSERT_TRUE(socket) << error;
  WinsockPrinterLink link(std::move(socket), shortTimeouts());
  // Larger than every buffer on the way, in writes of uneven sizes.
  const std::string job = jobOfSize(3 << 20);
  ASSERT_TRUE(link.send(std::string_view(job).substr(0, 1), nullptr));
  ASSERT_TRUE(link.send(std::string_view(job).substr(1, 1000000), nullptr));
  ASSERT_TRUE(link.send(std::string_view(job).substr(1000001), nullptr));
  const Delivery delivery = link.finish(nullptr);
  EXPECT_TRUE(delivery.complete()) << delivery.failure;
  EXPECT_EQ(delivery.offered, job.size());
  EXPECT_EQ(delivery.delivered, job.size());
  EXPECT_TRUE(peer.received() == job) << "received " << peer.received().size() << " bytes";
  EXPECT_TRUE(notices_.empty());
}

TEST_F(WinsockPrinterTest, BusyPrinterIsTriedUntilTheBusyTimeOutThenRefused) {
  LoopbackPeer peer(LoopbackPeer::Behaviour::Refuse);
  std::uint32_t error = 0;
  const auto start = Clock::now();
  const unique_socket socket = connect(peer.address(), error);
  EXPECT_FALSE(socket);
  EXPECT_GE(since(start), milliseconds(600));
  EXPECT_EQ(error, static_cast<std::uint32_t>(WSAECONNREFUSED));
  const std::string place = "LPT1: the printer at " + peer.address().text();
  ASSERT_EQ(notices_.size(), 2u);
  EXPECT_EQ(notices_[0], place +
                             " refuses the connection (busy with another sender?); trying again "
                             "for up to 0.6 s");
  EXPECT_EQ(notices_[1], place +
                             " still refuses the connection after 0.6 s; check that nothing else "
                             "holds it and that the port number is right, or wait longer with "
                             "--busy-timeout");
}

// A job cut off fails, within the stall time-out, with a count of what
// arrived that is never more than the printer took.
TEST_F(WinsockPrinterTest, CutOffJobFailsWithNoMoreCountedThanArrived) {
  struct Case {
    const char* name;
    LoopbackPeer::Behaviour behaviour;
    std::string reason;
  };
  const Case cases[] = {
      {"stops reading", LoopbackPeer::Behaviour::StopReading,
       tookNoDataText(shortTimeouts().stall)},
      {"resets mid-job", LoopbackPeer::Behaviour::ResetMidJob,
       "the printer closed the connection in the middle of the job"},
  };
  constexpr std::size_t kRead = 300000;
  // What the printer's system may have taken beyond what it read: its
  // receive buffer of 4 KiB, which the system may double, with room to spare.
  constexpr std::size_t kPrinterBuffer = 16 * 1024;
  const std::string job = jobOfSize(8 << 20);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackPeer peer(c.behaviour, kRead);
    std::uint32_t error = 0;
    unique_socket socket = connect(peer.address(), error);
    ASSERT_TRUE(socket) << error;
    WinsockPrinterLink link(std::move(socket), shortTimeouts());
    const auto start = Clock::now();
    EXPECT_FALSE(link.send(job, nullptr));
    const Delivery delivery = link.finish(nullptr);
    EXPECT_LT(since(start), milliseconds(2500)) << "bounded by the stall time-out";
    EXPECT_EQ(delivery.failure, c.reason);
    EXPECT_FALSE(delivery.complete());
    EXPECT_LT(delivery.offered, job.size());
    EXPECT_LE(delivery.delivered, kRead + kPrinterBuffer) << "counted more than arrived";
    EXPECT_GE(delivery.delivered, kRead / 2) << "the count is of some use";
    EXPECT_TRUE(peer.received() == job.substr(0, kRead));
  }
}

}  // namespace
}  // namespace tagwright::win32
