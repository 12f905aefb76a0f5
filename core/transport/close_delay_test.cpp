#include "core/transport/close_delay.h"

#include <gtest/gtest.h>

namespace tagwright {
namespace {

using std::chrono::milliseconds;

TEST(CloseDelay, OnlyTheWindows95FamilyWaitsASecond) {
  EXPECT_EQ(closeDelayForPlatform(0), milliseconds(0));
  EXPECT_EQ(closeDelayForPlatform(1), milliseconds(1000));
  EXPECT_EQ(closeDelayForPlatform(2), milliseconds(0));
  NoCloseDelay none;
  EXPECT_EQ(none.closeDelay(), milliseconds(0));
}

}  // namespace
}  // namespace tagwright
