#include "platform/posix/transport/network_printer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "core/transport/port_texts.h"
#include "core/transport/print_worker.h"
#include "core/transport/printer_port.h"
#include "platform/posix/transport/posix_port_layer.h"
#include "platform/posix/transport/posix_print_runner.h"
#include "support/fake_port_layer.h"
#include "support/real_time_worker.h"
#include "support/loopback_printer.h"
#include "support/network_test_jobs.h"

namespace tagwright {
namespace {

using std::chrono::milliseconds;
using testing::jobOfSize;
using testing::LoopbackPrinter;
using testing::shortTimeouts;
using Behaviour = LoopbackPrinter::Behaviour;
using Clock = std::chrono::steady_clock;

class Notices {
 public:
  NoticeFunction function() {
    return [this](const std::string& line) {
      std::lock_guard<std::mutex> guard(lock_);
      lines_.push_back(line);
    };
  }
  std::vector<std::string> lines() const {
    std::lock_guard<std::mutex> guard(lock_);
    return lines_;
  }

 private:
  mutable std::mutex lock_;
  std::vector<std::string> lines_;
};

// The ports of one test: `device` behind COM1, LPT1 and USB.
struct NetworkPorts {
  explicit NetworkPorts(const std::string& device, SystemCalls& system = realSystemCalls(),
                        NetworkTimeouts timeouts = shortTimeouts()) {
    PosixPortLayer::Options options;
    options.devices.assign("COM1", device);
    options.devices.assign("LPT1", device);
    options.devices.assign("USB", device);
    options.sysfsRoot = "/nonexistent-sysfs";
    options.network = timeouts;
    options.notice = notices.function();
    layer = std::make_unique<PosixPortLayer>(std::move(options), system);
  }
  Notices notices;
  std::unique_ptr<PosixPortLayer> layer;
};

using Worker = testing::RealTimeWorker;

milliseconds since(Clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

TEST(NetworkPrinterAddress, FormsAndFaults) {
  struct Case {
    const char* text;
    const char* host;  // nullptr: refused
    std::uint16_t port;
    const char* fault;  // part of the message when refused
  };
  const Case cases[] = {
      {"tcp://10.0.0.7", "10.0.0.7", 9100, nullptr},
      {"tcp://printer.local:9101", "printer.local", 9101, nullptr},
      {"tcp://zebra-2/", "zebra-2", 9100, nullptr},
      {"tcp://[fe80::1]:515", "fe80::1", 515, nullptr},
      {"tcp://[::1]", "::1", 9100, nullptr},
      {"tcp://", nullptr, 0, "host name or address is missing"},
      {"tcp://:9100", nullptr, 0, "host name or address is missing"},
      {"tcp://host:", nullptr, 0, "from 1 to 65535"},
      {"tcp://host:0", nullptr, 0, "from 1 to 65535"},
      {"tcp://host:65536", nullptr, 0, "from 1 to 65535"},
      {"tcp://host:91a", nullptr, 0, "from 1 to 65535"},
      {"tcp://ho st", nullptr, 0, "not a host name"},
      {"tcp://[fe80::1", nullptr, 0, "no closing ]"},
      {"tcp://[fe80::1]x", nullptr, 0, "only :PORT"},
      // Found by fuzzing: accepted, then written back as "%:9100", which
      // does not read.
      {"tcp://[%]", nullptr, 0, "not an IPv6 address"},
      {"tcp://[1%ccccccccc7]", nullptr, 0, "not an IPv6 address"},
      {"tcp://[10.0.0.7]", nullptr, 0, "not an IPv6 address"},
      {"tcp://[]", nullptr, 0, "not an IPv6 address"},
      {"/dev/ttyS0", nullptr, 0, "not a network printer"},
  };
  for (const Case& c : cases) {
    const auto address = parseTcpPrinterAddress(c.text);
    if (c.host == nullptr) {
      EXPECT_FALSE(address) << c.text;
      const std::string& error = address.error();
      EXPECT_NE(error.find(c.fault), std::string::npos) << c.text << ": " << error;
      EXPECT_NE(error.find("tcp://HOST:PORT"), std::string::npos) << "says how to write it";
    } else {
      ASSERT_TRUE(address) << c.text << ": " << address.error();
      EXPECT_EQ(address.value().host, c.host) << c.text;
      EXPECT_EQ(address.value().port, c.port) << c.text;
    }
  }
  EXPECT_EQ((TcpPrinterAddress{"fe80::1", 9100}.text()), "[fe80::1]:9100");
  EXPECT_EQ((TcpPrinterAddress{"10.0.0.7", 9101}.text()), "10.0.0.7:9101");
}

// The component's bytes reach the printer exactly, as they reach a device
// behind the same port: the parallel port's zero test byte first, nothing
// added on a serial or USB port. One connection per job.
TEST(NetworkPrinter, EachJobArrivesByteExactOverAConnectionOfItsOwn) {
  struct Case {
    std::int32_t index;
    std::string prefix;
  };
  const Case cases[] = {{3, ""}, {0, std::string(1, '\0')}, {kUsbPortIndex, ""}};
  const std::string first = jobOfSize(70000);
  const std::string second = "^Q25,3\r\n\xff\xfe\0E\r";
  for (const Case& c : cases) {
    LoopbackPrinter printer({});
    NetworkPorts ports(printer.device());
    Worker w(*ports.layer);
    EXPECT_EQ(w.worker.run(PrintJob{first, c.index}), JobOutcome::Written);
    EXPECT_EQ(w.worker.run(PrintJob{second, c.index}), JobOutcome::Written);
    ASSERT_TRUE(printer.waitForEnded(2));
    const std::vector<std::string> received = printer.connections();
    ASSERT_EQ(received.size(), 2u) << "port " << c.index;
    EXPECT_TRUE(received[0] == c.prefix + first) << "port " << c.index;
    EXPECT_EQ(received[1], c.prefix + second) << "port " << c.index;
    const std::vector<Delivery> deliveries = ports.layer->takeDeliveries();
    ASSERT_EQ(deliveries.size(), 2u);
    EXPECT_TRUE(deliveries[0].complete()) << deliveries[0].failure;
    EXPECT_EQ(deliveries[0].delivered, c.prefix.size() + first.size());
    EXPECT_EQ(deliveries[1].target, printer.device());
    EXPECT_TRUE(w.prompt.questions().empty());
    EXPECT_TRUE(ports.notices.lines().empty());
  }
}

TEST(NetworkPrinter, BusyPrinterIsWaitedForAndSaidOnce) {
  LoopbackPrinter printer({Behaviour::ReadAll, 0, milliseconds(250)});
  NetworkPorts ports(printer.device());
  Worker w(*ports.layer);
  const auto start = Clock::now();
  EXPECT_EQ(w.worker.run(PrintJob{"job\r", 3}), JobOutcome::Written);
  EXPECT_GE(since(start), milliseconds(240));
  ASSERT_TRUE(printer.waitForEnded(1));
  EXPECT_EQ(printer.connections(), std::vector<std::string>{"job\r"});
  const std::vector<std::string> notices = ports.notices.lines();
  ASSERT_EQ(notices.size(), 1u) << "one line while waiting, however many tries";
  EXPECT_NE(notices[0].find("COM1: the printer at 127.0.0.1:"), std::string::npos) << notices[0];
  EXPECT_NE(notices[0].find("refuses the connection"), std::string::npos) << notices[0];
  EXPECT_TRUE(w.prompt.questions().empty());
}

TEST(NetworkPrinter, PrinterBusyPastTheBusyTimeoutCannotBeOpened) {
  LoopbackPrinter printer({Behaviour::NeverListen});
  NetworkPorts ports(printer.device());
  testing::RecordingSleeper sleeper;
  std::string errorText;
  const auto start = Clock::now();
  EXPECT_EQ(OpenPrinterPort(*ports.layer, sleeper, 3, errorText), kInvalidPort);
  const milliseconds took = since(start);
  EXPECT_GE(took, milliseconds(600));
  EXPECT_LT(took, milliseconds(1600));
  EXPECT_EQ(errorText, portOpenFailedText(kErrorConnectionRefused));
  const std::vector<std::string> notices = ports.notices.lines();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_NE(notices[1].find("still refuses the connection after 0.6 s"), std::string::npos)
      << notices[1];
  EXPECT_NE(notices[1].find("--busy-timeout"), std::string::npos) << "says what to do";
  EXPECT_TRUE(sleeper.sleeps().empty()) << "not taken for a port held by another opener";
}

TEST(NetworkPrinter, UnansweredConnectGivesUpAtTheConnectTimeout) {
  LoopbackPrinter printer({Behaviour::ReadAll, 0, milliseconds(0), 0, true});
  NetworkPorts ports(printer.device());
  testing::RecordingSleeper sleeper;
  std::string errorText;
  const auto start = Clock::now();
  EXPECT_EQ(OpenPrinterPort(*ports.layer, sleeper, 0, errorText), kInvalidPort);
  const milliseconds took = since(start);
  EXPECT_GE(took, milliseconds(290));
  EXPECT_LT(took, milliseconds(1300));
  EXPECT_EQ(errorText, portOpenFailedText(kErrorConnectionTimedOut));
  const std::vector<std::string> notices = ports.notices.lines();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("LPT1: the printer at 127.0.0.1:"), std::string::npos) << notices[0];
  EXPECT_NE(notices[0].find("no answer within 0.3 s"), std::string::npos) << notices[0];
  EXPECT_NE(notices[0].find("--connect-timeout"), std::string::npos) << notices[0];
}

// The command-line host's print path over network printers.
struct CheckedPath {
  explicit CheckedPath(NetworkPorts& ports) {
    runner = makeCheckedPosixPrintRunner(
        std::move(ports.layer), prompt, abort,
        [this](const FailedJob& failed) {
          std::lock_guard<std::mutex> guard(lock);
          failures.push_back(failed);
        },
        pending);
  }
  std::vector<FailedJob> failed() {
    std::lock_guard<std::mutex> guard(lock);
    return failures;
  }
  testing::ScriptedPrompt prompt;
  PrintAbortState abort;
  PendingJobs pending;
  std::mutex lock;
  std::vector<FailedJob> failures;
  std::unique_ptr<ThreadJobRunner> runner;  // last: ends first
};

// A job cut off is never sent again and says how much of it arrived; the
// job after it goes over a connection of its own.
TEST(NetworkPrinter, CutOffJobFailsWithWhatArrivedAndIsNotSentAgain) {
  struct Case {
    const char* name;
    LoopbackPrinter::Setup setup;
    const char* reason;
  };
  const Case cases[] = {
      {"stops reading", {Behaviour::StopReading, 100000, milliseconds(0), 4096}, "for 0.3 s"},
      {"closes mid-job", {Behaviour::CloseMidJob, 100000, milliseconds(0), 4096}, "closed the"},
  };
  const std::string job = jobOfSize(8 << 20);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackPrinter printer(c.setup);
    NetworkPorts ports(printer.device());
    CheckedPath path(ports);
    const auto start = Clock::now();
    path.runner->queue(PrintJob{job, 3});
    path.runner->waitUntilIdle();
    EXPECT_LT(since(start), milliseconds(2500)) << "bounded by the stall time-out";
    const JobTally tally = path.runner->tally();
    EXPECT_EQ(tally.written, 0u);
    EXPECT_EQ(tally.dropped, 1u);
    const std::vector<FailedJob> failed = path.failed();
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].number, 1u);
    EXPECT_EQ(failed[0].size, job.size());
    EXPECT_GE(failed[0].delivered, 100000u) << "the printer read that much";
    EXPECT_LT(failed[0].delivered, job.size());
    EXPECT_NE(failed[0].delivery.failure.find(c.reason), std::string::npos)
        << failed[0].delivery.failure;
    EXPECT_EQ(failed[0].delivery.port, "COM1");
    path.runner->finish();
    const std::vector<std::string> received = printer.connections();
    ASSERT_EQ(received.size(), 1u) << "never a second connection for the same job";
    EXPECT_EQ(received[0], job.substr(0, 100000));
    EXPECT_TRUE(path.prompt.questions().empty());
  }
}

// A printer that takes the start of a job and then closes with the rest
// unread resets the connection. When the reset comes after the kernel saw
// every byte acknowledged, the end of the job is still lost.
TEST(NetworkPrinter, ResetAfterEveryByteWasAcknowledgedFailsTheJobWithItsCountUnknown) {
  LoopbackPrinter::Setup setup{Behaviour::CloseMidJob, 1000};
  setup.pauseBeforeClose = milliseconds(150);
  LoopbackPrinter printer(setup);
  NetworkPorts ports(printer.device());
  CheckedPath path(ports);
  const std::string job = jobOfSize(20000);
  path.runner->queue(PrintJob{job, 3});
  path.runner->waitUntilIdle();
  const JobTally tally = path.runner->tally();
  EXPECT_EQ(tally.written, 0u);
  EXPECT_EQ(tally.dropped, 1u);
  const std::vector<FailedJob> failed = path.failed();
  ASSERT_EQ(failed.size(), 1u);
  const Delivery& delivery = failed[0].delivery;
  EXPECT_FALSE(delivery.countKnown);
  EXPECT_EQ(delivery.tookAll, Delivery::Taker::Printer);
  EXPECT_NE(delivery.failure.find("broke the connection (a reset, not its orderly close) after "
                                  "taking 20000 bytes"),
            std::string::npos)
      << delivery.failure;
  path.runner->finish();
  EXPECT_EQ(printer.connections().size(), 1u) << "never sent again";
}

TEST(NetworkPrinter, PrinterThatNeverClosesIsLeftAfterTheCloseWait) {
  LoopbackPrinter printer({Behaviour::NeverClose});
  NetworkPorts ports(printer.device());
  CheckedPath path(ports);
  const std::string job = jobOfSize(300000);
  const auto start = Clock::now();
  path.runner->queue(PrintJob{job, 3});
  path.runner->queue(PrintJob{"second\r", 3});
  path.runner->waitUntilIdle();
  const milliseconds took = since(start);
  EXPECT_GE(took, milliseconds(400)) << "each job waited the close wait for the printer";
  EXPECT_LT(took, milliseconds(1500));
  EXPECT_EQ(path.runner->tally().written, 2u);
  EXPECT_TRUE(path.failed().empty());
  // The printer serves one connection at a time and holds the first; the
  // second waits in its queue, where its network stack takes the bytes.
  const std::vector<std::string> received = printer.connections();
  ASSERT_GE(received.size(), 1u);
  EXPECT_TRUE(received[0] == job);
}

// Faults that a loopback printer cannot make, through the system-call seam.
class FaultySocketCalls final : public SystemCalls {
 public:
  int sendCalls = 0;
  std::size_t sendLimit = 0;     // 0: no limit
  int unacknowledgedFloor = -1;  // reported as the least unacknowledged count
  int connectError = 0;

  ssize_t sendSome(int fd, const void* data, std::size_t size) override {
    ++sendCalls;
    if (sendCalls % 3 == 0) {
      errno = EINTR;
      return -1;
    }
    return SystemCalls::sendSome(fd, data, sendLimit == 0 ? size : std::min(size, sendLimit));
  }
  int unacknowledgedBytes(int fd, int& count) override {
    const int result = SystemCalls::unacknowledgedBytes(fd, count);
    if (result == 0 && unacknowledgedFloor >= 0) count = std::max(count, unacknowledgedFloor);
    return result;
  }
  int connectSocket(int fd, const sockaddr* address, socklen_t size) override {
    if (connectError != 0) {
      errno = connectError;
      return -1;
    }
    return SystemCalls::connectSocket(fd, address, size);
  }
};

TEST(NetworkPrinterFaults, ShortAndInterruptedSendsStillDeliverTheWholeJob) {
  LoopbackPrinter printer({});
  FaultySocketCalls calls;
  calls.sendLimit = 7;
  NetworkPorts ports(printer.device(), calls);
  Worker w(*ports.layer);
  const std::string job = jobOfSize(1000);
  EXPECT_EQ(w.worker.run(PrintJob{job, 3}), JobOutcome::Written);
  ASSERT_TRUE(printer.waitForEnded(1));
  EXPECT_EQ(printer.connections(), std::vector<std::string>{job});
  EXPECT_GE(calls.sendCalls, 1000 / 7);
  const std::vector<Delivery> deliveries = ports.layer->takeDeliveries();
  ASSERT_EQ(deliveries.size(), 1u);
  EXPECT_TRUE(deliveries[0].complete()) << deliveries[0].failure;
}

TEST(NetworkPrinterFaults, BytesLeftUnacknowledgedFailTheJobThoughEverySendReturned) {
  LoopbackPrinter printer({});
  FaultySocketCalls calls;
  calls.unacknowledgedFloor = 5;
  NetworkPorts ports(printer.device(), calls);
  CheckedPath path(ports);
  const std::string job = jobOfSize(2000);
  const auto start = Clock::now();
  path.runner->queue(PrintJob{job, 3});
  path.runner->waitUntilIdle();
  EXPECT_LT(since(start), milliseconds(1500));
  const std::vector<FailedJob> failed = path.failed();
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].delivered, job.size() - 5);
  EXPECT_NE(failed[0].delivery.failure.find("took none of the last 5 bytes for 0.3 s"),
            std::string::npos)
      << failed[0].delivery.failure;
  EXPECT_EQ(path.runner->tally().dropped, 1u);
}

TEST(NetworkPrinterFaults, UnreachableNetworkCannotBeOpenedAndSaysWhatToCheck) {
  struct Case {
    int error;
    std::uint32_t code;
  };
  for (const Case c :
       {Case{ENETUNREACH, kErrorNetworkUnreachable}, Case{EHOSTUNREACH, kErrorHostUnreachable}}) {
    FaultySocketCalls calls;
    calls.connectError = c.error;
    NetworkPorts ports("tcp://127.0.0.1:9", calls);
    testing::RecordingSleeper sleeper;
    std::string errorText;
    EXPECT_EQ(OpenPrinterPort(*ports.layer, sleeper, 3, errorText), kInvalidPort);
    EXPECT_EQ(errorText, portOpenFailedText(c.code));
    const std::vector<std::string> notices = ports.notices.lines();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("cannot be reached"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("check the address"), std::string::npos) << notices[0];
  }
}

TEST(NetworkPrinterFaults, BadAddressBehindAPortIsNotFound) {
  NetworkPorts ports("tcp://printer:99999");
  testing::RecordingSleeper sleeper;
  std::string errorText;
  EXPECT_EQ(OpenPrinterPort(*ports.layer, sleeper, 3, errorText), kInvalidPort);
  EXPECT_EQ(errorText, portOpenFailedText(kErrorFileNotFound));
  ASSERT_EQ(ports.notices.lines().size(), 1u);
  EXPECT_NE(ports.notices.lines()[0].find("from 1 to 65535"), std::string::npos);
}

TEST(JobBytesDelivered, TestBytesBeforeTheJobAreNotCounted) {
  struct Case {
    std::uint64_t offered, delivered, job, expected;
  };
  const Case cases[] = {{101, 101, 100, 100}, {101, 51, 100, 50}, {101, 1, 100, 0},
                        {101, 0, 100, 0},     {100, 40, 100, 40}, {10, 10, 100, 10}};
  for (const Case& c : cases) {
    Delivery d;
    d.offered = c.offered;
    d.delivered = c.delivered;
    EXPECT_EQ(jobBytesDelivered(d, c.job), c.expected) << c.offered << " " << c.delivered;
  }
}

}  // namespace
}  // namespace tagwright
