#include "platform/posix/transport/posix_print_runner.h"

#include <gtest/gtest.h>

#include <future>

#include "core/addin/add_in.h"
#include "platform/posix/iconv_code_pages.h"
#include "support/fake_port_layer.h"

namespace tagwright {
namespace {

using std::chrono::milliseconds;
using testing::ScriptedPortLayer;
using testing::ScriptedPrompt;

// Lends a port layer that the test keeps, so that it can be inspected.
class BorrowedPorts final : public PortLayer {
 public:
  explicit BorrowedPorts(PortLayer& ports) : ports_(ports) {}
  PortHandle open(const std::string& n, std::uint32_t& e) override { return ports_.open(n, e); }
  bool getTimeouts(PortHandle p, CommTimeouts& t) override { return ports_.getTimeouts(p, t); }
  bool setTimeouts(PortHandle p, const CommTimeouts& t) override {
    return ports_.setTimeouts(p, t);
  }
  bool getModemStatus(PortHandle p, std::uint32_t& s) override {
    return ports_.getModemStatus(p, s);
  }
  bool getCommState(PortHandle p, CommState& s) override { return ports_.getCommState(p, s); }
  bool setupQueues(PortHandle p, std::uint32_t i, std::uint32_t o) override {
    return ports_.setupQueues(p, i, o);
  }
  bool setCommState(PortHandle p, const CommState& s) override { return ports_.setCommState(p, s); }
  bool setCommMask(PortHandle p, std::uint32_t m) override { return ports_.setCommMask(p, m); }
  bool purge(PortHandle p, std::uint32_t f) override { return ports_.purge(p, f); }
  bool write(PortHandle p, std::string_view b, std::uint32_t& w) override {
    return ports_.write(p, b, w);
  }
  bool setBreak(PortHandle p) override { return ports_.setBreak(p); }
  bool close(PortHandle p) override { return ports_.close(p); }
  std::vector<std::string> usbDevicePaths() override { return ports_.usbDevicePaths(); }

 private:
  PortLayer& ports_;
};

// An add-in object whose Print goes through the real worker and runner to a
// scripted port layer.
class PrintPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setPort(3);
    call(Method::StartLabel);
  }
  void setPort(std::int32_t port) {
    ASSERT_EQ(addIn.setProperty(static_cast<std::int32_t>(Property::NumberPort),
                                ScriptValue::int32(port)),
              HostResult::Ok);
  }
  void call(Method m, ScriptArgs args = {}) {
    ASSERT_EQ(addIn.callAsProc(static_cast<std::int32_t>(m), args), HostResult::Ok);
  }
  void print(std::int32_t copies) {
    ScriptValue result;
    ASSERT_EQ(addIn.callAsFunc(static_cast<std::int32_t>(Method::Print), result,
                               {ScriptValue::int32(copies)}),
              HostResult::Ok);
    ASSERT_EQ(result.asInt32(), 1);
  }
  std::vector<std::string> writtenTo(const std::string& port) const {
    std::vector<std::string> texts;
    for (const auto& [name, bytes] : layer.writes()) {
      if (name == port) texts.push_back(bytes);
    }
    return texts;
  }

  ScriptedPortLayer layer;
  ScriptedPrompt prompt;
  PrintAbortState abort;
  PendingJobs pending;
  IconvCodePages codePages;
  std::unique_ptr<ThreadJobRunner> runner =
      makePosixPrintRunner(std::make_unique<BorrowedPorts>(layer), prompt, abort, pending);
  AddIn addIn{AddInServices{codePages, *runner, abort}};
};

TEST_F(PrintPathTest, AbortDropsTheJobsQueuedMeanwhileAndTheNextPrintPrints) {
  layer.makeUnopenable("COM1", kErrorFileNotFound);
  std::promise<void> asked;
  std::promise<void> answer;
  prompt.answer(PromptAnswer::Abort, [&] {
    asked.set_value();
    answer.get_future().wait();
  });
  print(1);
  asked.get_future().wait();  // the user looks at the question...
  print(2);                   // ...while the script goes on printing
  print(3);
  EXPECT_EQ(pending.count(), 3);
  answer.set_value();
  runner->waitUntilIdle();
  EXPECT_EQ(prompt.questions().size(), 1u) << "waiting jobs are dropped without a question";
  EXPECT_EQ(runner->tally().dropped, 3u);
  EXPECT_TRUE(layer.writes().empty());

  layer.makeOpenable("COM1");
  print(4);
  runner->waitUntilIdle();
  const std::vector<std::string> written = writtenTo("COM1");
  ASSERT_EQ(written.size(), 1u);
  EXPECT_NE(written[0].find("^C4\r"), std::string::npos);
  EXPECT_EQ(runner->tally().written, 1u);
  EXPECT_EQ(pending.count(), 0);
}

TEST_F(PrintPathTest, JobsAreWrittenWholeInHandOffOrderEachToItsOwnPort) {
  for (std::int32_t copies = 1; copies <= 30; ++copies) {
    setPort(copies % 2 == 0 ? 4 : 3);  // a later hand-off does not move a queued job
    print(copies);
  }
  runner->waitUntilIdle();
  const auto writes = layer.writes();
  ASSERT_EQ(writes.size(), 30u);
  for (std::int32_t copies = 1; copies <= 30; ++copies) {
    const auto& [port, text] = writes[static_cast<std::size_t>(copies - 1)];
    EXPECT_EQ(port, copies % 2 == 0 ? "COM2" : "COM1");
    EXPECT_NE(text.find("^C" + std::to_string(copies) + "\r"), std::string::npos) << copies;
    EXPECT_EQ(text.substr(text.size() - 2), "E\r") << "each job is one whole write";
  }
  EXPECT_EQ(layer.openPorts(), 0u);
}

}  // namespace
}  // namespace tagwright
