#include "core/transport/print_worker.h"

#include <gtest/gtest.h>

#include "core/transport/port_texts.h"
#include "core/transport/printer_port.h"
#include "support/fake_port_layer.h"

namespace tagwright {
namespace {

using std::chrono::milliseconds;
using testing::RecordingSleeper;
using testing::ScriptedPortLayer;
using testing::ScriptedPrompt;
using Calls = std::vector<std::string>;
using Write = std::pair<std::string, std::string>;

class FixedCloseDelay final : public CloseDelayPolicy {
 public:
  explicit FixedCloseDelay(milliseconds delay) : delay_(delay) {}
  milliseconds closeDelay() override {
    ++asked;
    return delay_;
  }
  int asked = 0;

 private:
  milliseconds delay_;
};

class PrintWorkerTest : public ::testing::Test {
 protected:
  JobOutcome run(std::string text, std::int32_t port) {
    return worker.run(PrintJob{std::move(text), port});
  }
  std::size_t count(const std::string& call) const {
    const Calls calls = layer.calls();
    return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
  }

  ScriptedPortLayer layer;
  ScriptedPrompt prompt;
  RecordingSleeper sleeper;
  FixedCloseDelay closeDelay{milliseconds(0)};
  PrintAbortState abort;
  PrintWorker worker{PrintWorkerServices{layer, prompt, sleeper, closeDelay, abort}};
};

TEST_F(PrintWorkerTest, WritesTheWholeJobInOneWriteAndClosesThePort) {
  EXPECT_EQ(run("^L\rAA,1\rE\r", 3), JobOutcome::Written);
  EXPECT_EQ(layer.writes(), (std::vector<Write>{{"COM1", "^L\rAA,1\rE\r"}}));
  const Calls calls = layer.calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(Calls(calls.end() - 3, calls.end()), (Calls{"write 10", "setBreak", "close"}));
  EXPECT_EQ(layer.openPorts(), 0u);
  EXPECT_TRUE(prompt.questions().empty());
  EXPECT_EQ(closeDelay.asked, 1);
}

TEST_F(PrintWorkerTest, TextWithZeroBytesIsWrittenWhole) {
  const std::string text("GW0,0,1,2,\0\xff\r", 13);
  EXPECT_EQ(run(text, 4), JobOutcome::Written);
  EXPECT_EQ(layer.writes(), (std::vector<Write>{{"COM2", text}}));
}

TEST_F(PrintWorkerTest, EmptyJobOpensTestsAndClosesTheParallelPortAndSendsNothingMore) {
  EXPECT_EQ(run("", 0), JobOutcome::Written);
  std::string sent;
  for (const Write& w : layer.writes()) sent += w.second;
  EXPECT_EQ(sent, std::string(1, '\0'));
  EXPECT_EQ(layer.calls().back(), "close");
  EXPECT_EQ(layer.openPorts(), 0u);
}

TEST_F(PrintWorkerTest, JobStartingAfterAbortIsDroppedWithoutAnyAttempt) {
  abort.set();
  EXPECT_EQ(run("label", 1), JobOutcome::Dropped);
  EXPECT_TRUE(layer.calls().empty());
  EXPECT_TRUE(prompt.questions().empty());
  EXPECT_EQ(closeDelay.asked, 0);
}

TEST_F(PrintWorkerTest, AbortDropsThisJobAndTheWaitingOnesUntilTheNextHandOff) {
  layer.makeUnopenable("COM1", kErrorFileNotFound);
  prompt.answer(PromptAnswer::Abort);
  EXPECT_EQ(run("first", 3), JobOutcome::Dropped);
  EXPECT_TRUE(abort.isSet());
  ASSERT_EQ(prompt.questions(), Calls{portOpenFailedText(kErrorFileNotFound)});

  layer.makeOpenable("COM1");
  layer.clearCalls();
  EXPECT_EQ(run("second", 3), JobOutcome::Dropped);
  EXPECT_EQ(run("third", 0), JobOutcome::Dropped);
  EXPECT_TRUE(layer.calls().empty());
  EXPECT_EQ(prompt.questions().size(), 1u) << "queued jobs are dropped without a question";

  abort.clear();  // what the next Print does before it queues its job
  EXPECT_EQ(run("fourth", 3), JobOutcome::Written);
  EXPECT_EQ(layer.writes(), (std::vector<Write>{{"COM1", "fourth"}}));
}

TEST_F(PrintWorkerTest, IgnoreDropsOnlyThisJob) {
  layer.setModemStatus(0);
  prompt.answer(PromptAnswer::Ignore);
  EXPECT_EQ(run("lost", 3), JobOutcome::Dropped);
  EXPECT_EQ(prompt.questions(), Calls{std::string(kPrinterNotConnectedText)});
  EXPECT_FALSE(abort.isSet());

  layer.setModemStatus(kModemDsrOn);
  EXPECT_EQ(run("kept", 3), JobOutcome::Written);
  EXPECT_EQ(layer.writes(), (std::vector<Write>{{"COM1", "kept"}}));
  EXPECT_EQ(layer.openPorts(), 0u);
}

TEST_F(PrintWorkerTest, RetryRepeatsTheWholeOpeningUsbSearchIncluded) {
  const std::string path = "usb#vid_195f&pid_0001#a1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
  prompt.answer(PromptAnswer::Retry);
  prompt.answer(PromptAnswer::Retry, [&] { layer.setUsbDevicePaths({path}); });
  EXPECT_EQ(run("usb job", kUsbPortIndex), JobOutcome::Written);
  EXPECT_EQ(prompt.questions(), Calls(2, std::string(kUsbPrinterNotFoundText)));
  EXPECT_EQ(count("usbDevicePaths"), 3u);
  EXPECT_EQ(layer.writes(), (std::vector<Write>{{path, "usb job"}}));
  EXPECT_TRUE(sleeper.sleeps() == std::vector<milliseconds>{milliseconds(0)})
      << "a Retry answer opens again at once";
}

TEST_F(PrintWorkerTest, RetryAfterAFailedPresenceTestOpensThePortAgain) {
  layer.setWritesFail(true);
  prompt.answer(PromptAnswer::Retry, [&] { layer.setWritesFail(false); });
  EXPECT_EQ(run("job", 1), JobOutcome::Written);
  EXPECT_EQ(count("open LPT2"), 2u);
  EXPECT_EQ(layer.writes(), (std::vector<Write>{{"LPT2", std::string(1, '\0')}, {"LPT2", "job"}}));
  EXPECT_EQ(layer.openPorts(), 0u);
}

TEST_F(PrintWorkerTest, UnansweredQuestionCountsAsRetryAfterAPause) {
  layer.makeUnopenable("LPT1", 21);
  prompt.answer(PromptAnswer::Failed);
  prompt.answer(PromptAnswer::Failed, [&] { layer.makeOpenable("LPT1"); });
  EXPECT_EQ(run("job", 0), JobOutcome::Written);
  EXPECT_EQ(prompt.questions().size(), 2u);
  EXPECT_EQ(sleeper.sleeps(),
            (std::vector<milliseconds>{PrintWorker::kUnansweredPromptPause,
                                       PrintWorker::kUnansweredPromptPause, milliseconds(0)}));
  EXPECT_EQ(PrintWorker::kUnansweredPromptPause, milliseconds(1000));
}

TEST_F(PrintWorkerTest, ThePortStaysOpenForTheCloseDelayAfterTheWrite) {
  // A sleeper that notes where in the call sequence each wait falls.
  class PlacedSleeper final : public Sleeper {
   public:
    explicit PlacedSleeper(ScriptedPortLayer& l) : layer(l) {}
    void sleepFor(milliseconds d) override {
      placed.push_back(layer.calls().back() + " then sleep " + std::to_string(d.count()));
    }
    ScriptedPortLayer& layer;
    Calls placed;
  } placedSleeper(layer);
  FixedCloseDelay oldWindows(closeDelayForPlatform(kPlatformWin32Windows));
  PrintWorker slowWorker(PrintWorkerServices{layer, prompt, placedSleeper, oldWindows, abort});
  EXPECT_EQ(slowWorker.run(PrintJob{"abc", 0}), JobOutcome::Written);
  EXPECT_EQ(placedSleeper.placed, Calls{"write 3 then sleep 1000"});
  EXPECT_EQ(layer.calls().back(), "close");
}

}  // namespace
}  // namespace tagwright
