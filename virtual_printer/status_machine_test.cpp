#include "virtual_printer/status_machine.h"

#include <gtest/gtest.h>

namespace tagwright::cli::printer {
namespace {

using namespace std::chrono_literals;

constexpr auto kProcessing = 100ms;
constexpr auto kLabel = 50ms;

StatusMachine::Setup setup(std::vector<FaultRule> faults = {},
                           std::optional<StatusCode> fixed = std::nullopt) {
  StatusMachine::Setup s;
  s.processing = kProcessing;
  s.faults = std::move(faults);
  s.fixedState = fixed;
  return s;
}

TEST(LabelPrintTime, FollowsFeedSpeedAndFactor) {
  // 43 mm at 4 inches (101.6 mm) a second.
  EXPECT_NEAR(std::chrono::duration<double>(labelPrintTime({43, 4}, 1)).count(), 43 / 101.6, 1e-6);
  EXPECT_NEAR(std::chrono::duration<double>(labelPrintTime({43, 2}, 1)).count(), 43 / 50.8, 1e-6);
  EXPECT_NEAR(std::chrono::duration<double>(labelPrintTime({43, 4}, 100)).count(), 43 / 101.6 / 100,
              1e-6);
  EXPECT_NEAR(std::chrono::duration<double>(labelPrintTime({86, 4}, 1)).count(), 86 / 101.6, 1e-6);
}

TEST(StatusMachine, MovesThroughDataInProcessAndPrintingToReady) {
  StatusMachine machine(setup());
  const PrinterClock::time_point t0{};
  EXPECT_EQ(machine.status(t0), (PrinterStatus{StatusCode::Ready, 0}));
  machine.setReceiving(true);
  EXPECT_EQ(machine.status(t0).code, StatusCode::DataInProcess);
  machine.setReceiving(false);
  machine.addLabel(2, kLabel, t0);
  machine.addLabel(1, kLabel, t0);
  struct Step {
    std::chrono::milliseconds at;
    PrinterStatus expected;
  };
  const Step steps[] = {
      {0ms, {StatusCode::DataInProcess, 3}}, {99ms, {StatusCode::DataInProcess, 3}},
      {100ms, {StatusCode::Printing, 3}},    {149ms, {StatusCode::Printing, 3}},
      {150ms, {StatusCode::Printing, 2}},    {200ms, {StatusCode::Printing, 1}},
      {249ms, {StatusCode::Printing, 1}},    {250ms, {StatusCode::Ready, 0}},
      {5000ms, {StatusCode::Ready, 0}},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(machine.status(t0 + step.at), step.expected) << step.at.count() << " ms";
  }
  EXPECT_EQ(machine.labelsPrinted(), 3);
}

TEST(StatusMachine, ALateLookCatchesUpAtOnce) {
  StatusMachine machine(setup());
  const PrinterClock::time_point t0{};
  machine.addLabel(5, kLabel, t0);
  EXPECT_EQ(machine.status(t0 + 1s), (PrinterStatus{StatusCode::Ready, 0}));
  const std::vector<PrinterEvent> events = machine.takeEvents(t0 + 1s);
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events.back().labelsPrinted, 5);
  EXPECT_EQ(events.back().labelsLeft, 0);
  EXPECT_TRUE(machine.takeEvents(t0 + 2s).empty());
}

TEST(StatusMachine, AFaultRuleStopsBeforeTheLabelAfterItsCount) {
  StatusMachine machine(setup({{2, StatusCode::MediaEmpty}}));
  const PrinterClock::time_point t0{};
  machine.addLabel(2, kLabel, t0);
  // Two labels print: the rule has not met a third yet.
  EXPECT_EQ(machine.status(t0 + 1s), (PrinterStatus{StatusCode::Ready, 0}));
  machine.addLabel(3, kLabel, t0 + 1s);
  EXPECT_EQ(machine.status(t0 + 1s + 50ms).code, StatusCode::DataInProcess);
  EXPECT_EQ(machine.status(t0 + 1s + kProcessing), (PrinterStatus{StatusCode::MediaEmpty, 3}));
  EXPECT_EQ(machine.status(t0 + 10s), (PrinterStatus{StatusCode::MediaEmpty, 3}));
  EXPECT_FALSE(machine.nextChange());
  const std::vector<PrinterEvent> events = machine.takeEvents(t0 + 10s);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, PrinterEvent::Kind::Fault);
  EXPECT_EQ(events.back().labelsPrinted, 2);
  EXPECT_EQ(events.back().labelsLeft, 3);
}

TEST(StatusMachine, AFaultCanComeBetweenCopies) {
  StatusMachine machine(setup({{1, StatusCode::RibbonEmpty}}));
  const PrinterClock::time_point t0{};
  machine.addLabel(4, kLabel, t0);
  EXPECT_EQ(machine.status(t0 + kProcessing + 10ms), (PrinterStatus{StatusCode::Printing, 4}));
  EXPECT_EQ(machine.status(t0 + 1s), (PrinterStatus{StatusCode::RibbonEmpty, 3}));
}

TEST(StatusMachine, AFixedStatePrintsNothing) {
  for (StatusCode state : {StatusCode::HeadOpen, StatusCode::Paused, StatusCode::CutterJam}) {
    StatusMachine machine(setup({}, state));
    const PrinterClock::time_point t0{};
    EXPECT_EQ(machine.status(t0), (PrinterStatus{state, 0}));
    machine.addLabel(2, kLabel, t0);
    EXPECT_EQ(machine.status(t0 + 10s), (PrinterStatus{state, 2}));
    EXPECT_EQ(machine.labelsPrinted(), 0);
  }
}

TEST(StatusMachine, NextChangeIsWhenTheCurrentLabelIsDone) {
  StatusMachine machine(setup());
  const PrinterClock::time_point t0{};
  EXPECT_FALSE(machine.nextChange());
  machine.addLabel(1, kLabel, t0);
  EXPECT_EQ(machine.nextChange(), t0 + kProcessing);
  machine.status(t0 + kProcessing);
  EXPECT_EQ(machine.nextChange(), t0 + kProcessing + kLabel);
  machine.status(t0 + kProcessing + kLabel);
  EXPECT_FALSE(machine.nextChange());
}

}  // namespace
}  // namespace tagwright::cli::printer
