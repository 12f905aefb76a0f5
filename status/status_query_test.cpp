#include "status/status_query.h"

#include <gtest/gtest.h>

#include <deque>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "support/temp_dir.h"

namespace tagwright::cli {
namespace {

using namespace std::chrono_literals;

// A printer that answers each query with the next line of a script; an
// empty line is silence.
class ScriptedChannel final : public StatusChannel {
 public:
  explicit ScriptedChannel(std::deque<std::string> answers) : answers_(std::move(answers)) {}

  Status send(std::string_view bytes) override {
    sent += std::string(bytes);
    ++queries;
    return Status::success();
  }
  Result<std::optional<std::string>> readLine(std::chrono::milliseconds) override {
    if (answers_.empty()) return std::optional<std::string>();
    std::string line = answers_.front();
    if (answers_.size() > 1) answers_.pop_front();  // the last one stays
    if (line.empty()) return std::optional<std::string>();
    return std::optional<std::string>(std::move(line));
  }
  void discardPending() override {}

  std::string sent;
  int queries = 0;

 private:
  std::deque<std::string> answers_;
};

ConfirmTimes quick() {
  ConfirmTimes times;
  times.answer = 20ms;
  times.perLabel = 10ms;
  times.poll = 1ms;
  return times;
}

TEST(StatusQuery, SwitchesImmediateRepliesOnOnlyWhenAsked) {
  ScriptedChannel channel({"00,00000"});
  EXPECT_EQ(askStatus(channel, 10ms, true).kind, StatusAnswer::Kind::Answered);
  EXPECT_EQ(channel.sent, "^XSET,IMMEDIATE,1\r~S,STATUS\r");
  channel.sent.clear();
  askStatus(channel, 10ms, false);
  EXPECT_EQ(channel.sent, "~S,STATUS\r");
}

TEST(StatusQuery, TellsAnswersSilenceAndGarbleApart) {
  ScriptedChannel answered({"50,00003"});
  const StatusAnswer a = askStatus(answered, 10ms, false);
  EXPECT_EQ(a.kind, StatusAnswer::Kind::Answered);
  EXPECT_EQ(a.status, (PrinterStatus{StatusCode::Printing, 3}));
  ScriptedChannel silent({""});
  EXPECT_EQ(askStatus(silent, 10ms, false).kind, StatusAnswer::Kind::Silent);
  ScriptedChannel garbled({"HELLO"});
  const StatusAnswer g = askStatus(garbled, 10ms, false);
  EXPECT_EQ(g.kind, StatusAnswer::Kind::Garbled);
  EXPECT_EQ(g.detail, "HELLO");
}

TEST(WaitUntilPrinted, EndsOnReadyFaultSilenceOrTime) {
  struct Case {
    std::deque<std::string> answers;
    bool printed;
    const char* reasonHas;
    int queries;  // -1: any number
  };
  const Case cases[] = {
      {{"60,00002", "50,00002", "50,00001", "00,00000"}, true, "", 4},
      {{"00,00000"}, true, "", 1},
      {{"50,00002", "01,00001"}, false, "media empty or media jam, 1 label left (01,00001)", 2},
      {{"04,00003"}, false, "print head open", 1},
      {{"20,00001"}, false, "paused", 1},
      {{"50,00001", ""}, false, "no answer to the status query within 0.02 s", 2},
      {{""}, false, "immediate replies may be off", 1},
      {{"50,00001", "OK"}, false, "answered \"OK\", which is not a status", 2},
      // Never done: the wait for one label left runs out.
      {{"50,00001"}, false, "not printed after 0.03 s: the printer still reports printing", -1},
  };
  for (const Case& c : cases) {
    ScriptedChannel channel(c.answers);
    const Confirmation result = waitUntilPrinted(channel, quick());
    EXPECT_EQ(result.printed, c.printed) << c.answers.front();
    EXPECT_NE(result.reason.find(c.reasonHas), std::string::npos) << result.reason;
    if (c.queries >= 0) {
      EXPECT_EQ(channel.queries, c.queries) << c.answers.front();
    }
    // Only the first query switches the answers on.
    EXPECT_EQ(channel.sent.find("^XSET,IMMEDIATE,1\r"), 0u);
    EXPECT_EQ(channel.sent.find("^XSET", 1), std::string::npos);
  }
}

TEST(WaitUntilPrinted, WaitsLongerForMoreLabels) {
  const auto waited = [](const char* answer) {
    ScriptedChannel channel({answer});
    const auto start = std::chrono::steady_clock::now();
    waitUntilPrinted(channel, quick());
    return std::chrono::steady_clock::now() - start;
  };
  // 20 ms + 10 ms per label: one label left gives up after 30 ms, ten after 120 ms.
  EXPECT_GE(waited("50,00010"), 120ms);
  EXPECT_LT(waited("50,00001"), 120ms);
}

TEST(StatusChannel, RefusesPortsThatCannotAnswer) {
  test_support::TempDir dir;
  const std::string file = dir.file("job.prn");
  { std::ofstream(file) << "x"; }
  const std::string pipe = dir.file("fifo");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const auto refusal = [](const std::string& device) {
    const Status answers = canAnswer(device);
    return answers ? std::string() : answers.error();
  };
  EXPECT_NE(refusal(file).find("a file cannot answer"), std::string::npos);
  EXPECT_NE(refusal(pipe).find("one way"), std::string::npos);
  EXPECT_NE(refusal("cups:labels").find("print-server queue"), std::string::npos);
  EXPECT_TRUE(canAnswer("tcp://127.0.0.1:9100").ok());
  EXPECT_TRUE(canAnswer("/dev/null").ok());  // a device may answer
  NetworkTimeouts timeouts;
  auto opened = openStatusChannel("COM1", file, timeouts);
  ASSERT_FALSE(opened);
  EXPECT_NE(opened.error().find("COM1 (" + file + "): a file cannot answer"), std::string::npos);
}

}  // namespace
}  // namespace tagwright::cli
