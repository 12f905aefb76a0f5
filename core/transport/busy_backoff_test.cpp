#include "core/transport/busy_backoff.h"

#include <gtest/gtest.h>

#include <vector>

namespace tagwright {
namespace {

using std::chrono::milliseconds;

// The pauses double from 10 ms, stay at 1 s, never run past the busy
// time-out and stop once it has passed.
TEST(BusyBackoffTest, PausesDoubleUpToASecondWithinTheBusyTimeOut) {
  struct Step {
    long long since;  // ms since the first refusal
    long long pause;  // ms, or -1 for no more attempts
  };
  const std::vector<Step> steps = {
      {0, 10},    {10, 20},     {30, 40},     {70, 80},    {150, 160}, {310, 320},
      {630, 640}, {1270, 1000}, {2270, 1000}, {3270, 930}, {4200, -1},
  };
  BusyBackoff backoff(milliseconds(4200));
  for (const Step& step : steps) {
    const auto pause = backoff.nextPause(milliseconds(step.since));
    if (step.pause < 0) {
      EXPECT_FALSE(pause) << "at " << step.since << " ms";
    } else {
      ASSERT_TRUE(pause) << "at " << step.since << " ms";
      EXPECT_EQ(pause->count(), step.pause) << "at " << step.since << " ms";
    }
  }
}

TEST(BusyBackoffTest, ARefusalAfterTheBusyTimeOutEndsTheRetries) {
  int rounds = 0;
  std::vector<std::string> notices;
  const ConnectRound outcome = connectWhileBusy(
      [&] {
        ++rounds;
        return ConnectRound::Refused;
      },
      "LPT1: the printer at 127.0.0.1:9", milliseconds(50),
      [&](const std::string& line) { notices.push_back(line); });
  EXPECT_EQ(outcome, ConnectRound::Refused);
  EXPECT_GE(rounds, 3);  // 10 + 20 + 20 ms of pauses at the least
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0],
            "LPT1: the printer at 127.0.0.1:9 refuses the connection (busy with another "
            "sender?); trying again for up to 0.05 s");
  EXPECT_EQ(notices[1].rfind("LPT1: the printer at 127.0.0.1:9 still refuses the connection "
                             "after 0.05 s; ",
                             0),
            0u);
}

}  // namespace
}  // namespace tagwright
