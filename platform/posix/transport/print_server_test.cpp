#include "platform/posix/transport/print_server.h"

#include <gtest/gtest.h>

#include <map>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "core/transport/port_texts.h"
#include "core/transport/printer_port.h"
#include "platform/posix/transport/posix_port_layer.h"
#include "platform/posix/transport/posix_print_runner.h"
#include "support/fake_port_layer.h"
#include "support/loopback_printer.h"
#include "support/private_cupsd.h"

namespace tagwright {
namespace {

using std::chrono::milliseconds;
using testing::LoopbackPrinter;
using testing::PrivateCupsd;
using Clock = std::chrono::steady_clock;

TEST(CupsQueueAddress, FormsAndFaults) {
  struct Case {
    const char* text;
    const char* queue;  // nullptr: refused
    const char* host;
    std::uint16_t port;
    const char* fault;
  };
  const Case cases[] = {
      {"cups:labels", "labels", "", 0, nullptr},
      {"cups:Zebra_GK420@printserver", "Zebra_GK420", "printserver", 0, nullptr},
      {"cups:labels@10.0.0.2:8631", "labels", "10.0.0.2", 8631, nullptr},
      {"cups:", nullptr, "", 0, "the queue name is missing"},
      {"cups:@host", nullptr, "", 0, "the queue name is missing"},
      {"cups:my queue", nullptr, "", 0, "is not a queue name"},
      {"cups:a/b", nullptr, "", 0, "is not a queue name"},
      {"cups:labels@", nullptr, "", 0, "name is missing after @"},
      {"cups:labels@host:0", nullptr, "", 0, "from 1 to 65535"},
      {"cups:labels@host:", nullptr, "", 0, "from 1 to 65535"},
      {"cups:labels@ho st", nullptr, "", 0, "not a host name"},
      {"ipp://host/printers/x", nullptr, "", 0, "not a print-server queue"},
  };
  for (const Case& c : cases) {
    const auto address = parseCupsQueueAddress(c.text);
    if (c.queue == nullptr) {
      EXPECT_FALSE(address) << c.text;
      const std::string& error = address.error();
      EXPECT_NE(error.find(c.fault), std::string::npos) << c.text << ": " << error;
      EXPECT_NE(error.find("cups:QUEUE@HOST[:PORT]"), std::string::npos) << error;
    } else {
      ASSERT_TRUE(address) << c.text << ": " << address.error();
      EXPECT_EQ(address.value().queue, c.queue);
      EXPECT_EQ(address.value().host, c.host);
      EXPECT_EQ(address.value().port, c.port);
    }
  }
  EXPECT_EQ((CupsQueueAddress{"labels", "srv", 631}.text()), "labels@srv:631");
  EXPECT_EQ((CupsQueueAddress{"labels", "", 0}.text()), "labels");
}

class Notices {
 public:
  NoticeFunction function() {
    return [this](const std::string& line) {
      std::lock_guard<std::mutex> guard(lock_);
      lines_.push_back(line);
    };
  }
  std::string all() const {
    std::lock_guard<std::mutex> guard(lock_);
    std::string text;
    for (const std::string& line : lines_) text += line + "\n";
    return text;
  }

 private:
  mutable std::mutex lock_;
  std::vector<std::string> lines_;
};

// A private CUPS server with the queues of one test, and the command-line
// host's print path over it.
class PrintServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!printServersSupported()) GTEST_SKIP() << "built without libcups (libcups2-dev)";
    if (!PrivateCupsd::installed()) GTEST_SKIP() << "cupsd is not installed (Debian's cups)";
  }

  void start(const std::vector<PrivateCupsd::Queue>& queues) {
    cupsd_ = std::make_unique<PrivateCupsd>(queues);
    ASSERT_TRUE(cupsd_->ready()) << cupsd_->errorLog();
  }

  std::unique_ptr<PosixPortLayer> ports(const std::string& queue, bool wait,
                                        milliseconds patience = milliseconds(2000)) {
    PosixPortLayer::Options options;
    options.devices.assign("COM1", "cups:" + queue + "@" + cupsd_->server());
    options.sysfsRoot = "/nonexistent-sysfs";
    options.network.connect = milliseconds(1000);
    options.network.stall = milliseconds(2000);
    options.network.busy = patience;
    options.waitForQueuedJobs = wait;
    options.notice = notices_.function();
    return std::make_unique<PosixPortLayer>(std::move(options));
  }

  // Runs `jobs` to COM1 through the checked print path.
  std::vector<FailedJob> print(std::unique_ptr<PosixPortLayer> layer,
                               const std::vector<std::string>& jobs, JobTally& tally) {
    std::vector<FailedJob> failed;
    std::mutex lock;
    PrintAbortState abort;
    PendingJobs pending;
    {
      auto runner = makeCheckedPosixPrintRunner(
          std::move(layer), prompt_, abort,
          [&](const FailedJob& f) {
            std::lock_guard<std::mutex> guard(lock);
            failed.push_back(f);
          },
          pending,
          [](PosixPortLayer& l, std::uint64_t n) {
            l.setJobTitle("label-" + std::to_string(n) + ".tws");
          });
      for (const std::string& job : jobs) runner->queue(PrintJob{job, 3});
      runner->finish();
      tally = runner->tally();
    }
    return failed;
  }

  Notices notices_;
  testing::ScriptedPrompt prompt_;
  std::unique_ptr<PrivateCupsd> cupsd_;
};

TEST_F(PrintServerTest, JobsArriveByteExactAndWaitReportsCompletion) {
  LoopbackPrinter printer({});
  start({{"labels", "socket://127.0.0.1:" + std::to_string(printer.port())}});
  const std::string first("^Q25,3\r\nAA,10,20,1,1,1,0,\xd1\xfb\xf0\r\0\xff\r", 31);
  const std::string second = "P1\r";
  JobTally tally;
  const std::vector<FailedJob> failed = print(ports("labels", true), {first, second}, tally);
  EXPECT_TRUE(failed.empty()) << (failed.empty() ? "" : failed[0].delivery.failure);
  EXPECT_EQ(tally.written, 2u);
  ASSERT_TRUE(printer.waitForEnded(2));
  EXPECT_EQ(printer.connections(), (std::vector<std::string>{first, second}));
  const std::string said = notices_.all();
  EXPECT_NE(said.find("COM1: sent as job 1 to labels@" + cupsd_->server() + " (\"label-1.tws\")"),
            std::string::npos)
      << said;
  EXPECT_NE(said.find("COM1: job 1 on labels@" + cupsd_->server() + " completed"),
            std::string::npos)
      << said;
  EXPECT_NE(said.find("job 2 on labels@"), std::string::npos) << said;
  EXPECT_TRUE(prompt_.questions().empty());
}

TEST_F(PrintServerTest, WithoutWaitTheJobCountsOnceTheServerHasIt) {
  LoopbackPrinter printer({});
  start({{"labels", "socket://127.0.0.1:" + std::to_string(printer.port())}});
  JobTally tally;
  EXPECT_TRUE(print(ports("labels", false), {"job\r"}, tally).empty());
  EXPECT_EQ(tally.written, 1u);
  EXPECT_NE(notices_.all().find("sent as job 1"), std::string::npos) << notices_.all();
  EXPECT_EQ(notices_.all().find("completed"), std::string::npos) << "not followed";
  ASSERT_TRUE(printer.waitForEnded(1));
  EXPECT_EQ(printer.connections(), std::vector<std::string>{"job\r"});
}

TEST_F(PrintServerTest, QueuesThatCannotTakeTheJobCannotBeOpened) {
  start({{"closed", "socket://127.0.0.1:9", false}});
  struct Case {
    const char* queue;
    std::uint32_t code;
    const char* said;
  };
  for (const Case& c : {Case{"absent", kErrorFileNotFound, "there is no queue \"absent\""},
                        Case{"closed", kErrorGenFailure, "does not accept jobs now; cupsaccept"}}) {
    auto layer = ports(c.queue, true);
    testing::RecordingSleeper sleeper;
    std::string errorText;
    EXPECT_EQ(OpenPrinterPort(*layer, sleeper, 3, errorText), kInvalidPort) << c.queue;
    EXPECT_EQ(errorText, portOpenFailedText(c.code)) << c.queue;
    EXPECT_NE(notices_.all().find(c.said), std::string::npos) << notices_.all();
  }
}

// The queue's printer refuses every connection; the server gives up on the
// job (its device waits 1 s, then the back end's retry pause of about 5 s),
// and --wait reports it aborted with what the printer said.
TEST_F(PrintServerTest, AJobThePrinterRefusesIsReportedAsFailed) {
  LoopbackPrinter refusing({LoopbackPrinter::Behaviour::NeverListen});
  start({{"refusing", "socket://127.0.0.1:" + std::to_string(refusing.port()) + "/?contimeout=1"}});
  JobTally tally;
  const auto start = Clock::now();
  const std::vector<FailedJob> failed =
      print(ports("refusing", true, milliseconds(12000)), {"job\r"}, tally);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
  EXPECT_EQ(tally.dropped, 1u);
  ASSERT_EQ(failed.size(), 1u);
  const Delivery& d = failed[0].delivery;
  EXPECT_FALSE(d.countKnown);
  EXPECT_NE(d.failure.find("job 1 on refusing@" + cupsd_->server() + " was aborted"),
            std::string::npos)
      << d.failure;
  EXPECT_NE(d.failure.find("the printer says \""), std::string::npos) << d.failure;
}

// A job that does not move on is given up on within the patience (the
// longer of the busy and write time-outs), and says where it stays.
TEST_F(PrintServerTest, AJobThatDoesNotMoveOnIsGivenUpOnInTime) {
  LoopbackPrinter refusing({LoopbackPrinter::Behaviour::NeverListen});
  start({{"stuck", "socket://127.0.0.1:" + std::to_string(refusing.port())}});
  JobTally tally;
  const auto start = Clock::now();
  const std::vector<FailedJob> failed = print(ports("stuck", true), {"job\r"}, tally);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_NE(failed[0].delivery.failure.find("has not moved on for 2 s"), std::string::npos)
      << failed[0].delivery.failure;
  EXPECT_NE(failed[0].delivery.failure.find("lpstat -o stuck"), std::string::npos);
  EXPECT_FALSE(failed[0].delivery.countKnown);
}

TEST_F(PrintServerTest, TheQueuesOfAServerAreListedWithWhetherTheyTakeJobs) {
  start({{"labels", "socket://127.0.0.1:9", true}, {"closed", "socket://127.0.0.1:9", false}});
  const auto queues = listPrintServerQueues("127.0.0.1", cupsd_->port(), milliseconds(2000));
  ASSERT_TRUE(queues.ok()) << queues.error();
  std::map<std::string, bool> accepting;
  for (const PrintServerQueue& q : queues.value()) accepting[q.name] = q.accepting;
  EXPECT_EQ(accepting, (std::map<std::string, bool>{{"closed", false}, {"labels", true}}));

  LoopbackPrinter nobody({LoopbackPrinter::Behaviour::NeverListen});
  const auto none = listPrintServerQueues("127.0.0.1", nobody.port(), milliseconds(500));
  ASSERT_FALSE(none.ok());
  EXPECT_EQ(none.error(), "no CUPS server answers at 127.0.0.1:" + std::to_string(nobody.port()));
}

TEST_F(PrintServerTest, AServerThatIsNotThereCannotBeOpened) {
  start({});
  PosixPortLayer::Options options;
  // A port nobody listens on: the one the test printer never opens.
  LoopbackPrinter nobody({LoopbackPrinter::Behaviour::NeverListen});
  options.devices.assign("LPT2", "cups:labels@127.0.0.1:" + std::to_string(nobody.port()));
  options.sysfsRoot = "/nonexistent-sysfs";
  options.network.connect = milliseconds(500);
  options.notice = notices_.function();
  PosixPortLayer layer(std::move(options));
  testing::RecordingSleeper sleeper;
  std::string errorText;
  EXPECT_EQ(OpenPrinterPort(layer, sleeper, 1, errorText), kInvalidPort);
  EXPECT_EQ(errorText, portOpenFailedText(kErrorConnectionRefused));
  EXPECT_NE(notices_.all().find("LPT2: the CUPS server 127.0.0.1:"), std::string::npos)
      << notices_.all();
  EXPECT_NE(notices_.all().find("check that CUPS runs there"), std::string::npos);
}

}  // namespace
}  // namespace tagwright
