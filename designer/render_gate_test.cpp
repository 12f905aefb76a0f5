#include "designer/render_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

namespace tagwright::designer {
namespace {

using namespace std::chrono_literals;

// A task past its time limit is answered at once, keeps running to its end,
// and shuts the gate until then; the next task after it runs as usual.
TEST(RenderGate, ASlowTaskIsAnsweredInTimeAndHoldsBackTheNext) {
  RenderGate gate;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  auto finished = std::make_shared<std::atomic<bool>>(false);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(gate.run(
                [released, finished] {
                  released.wait();
                  *finished = true;
                },
                50ms),
            RenderGate::Outcome::TimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_FALSE(*finished);
  bool ran = false;
  EXPECT_EQ(gate.run([&ran] { ran = true; }, 50ms), RenderGate::Outcome::Busy);
  EXPECT_FALSE(ran);

  release.set_value();
  RenderGate::Outcome next = RenderGate::Outcome::Busy;
  for (int tries = 0; tries < 200 && next == RenderGate::Outcome::Busy; ++tries) {
    next = gate.run([&ran] { ran = true; }, 1s);
    if (next == RenderGate::Outcome::Busy) std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(next, RenderGate::Outcome::Done);
  EXPECT_TRUE(ran);
  EXPECT_TRUE(*finished);
}

}  // namespace
}  // namespace tagwright::designer
