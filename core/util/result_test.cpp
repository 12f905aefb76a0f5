#include "core/util/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tagwright {
namespace {

Result<int> half(int n) {
  if (n % 2 != 0) return Result<int>::failure(std::to_string(n) + " is odd");
  return n / 2;
}

TEST(Result, HoldsTheValueOrTheMessageNeverBoth) {
  struct Case {
    int input;
    bool ok;
    int value;
    std::string error;
  };
  const std::vector<Case> cases = {{4, true, 2, ""}, {0, true, 0, ""}, {7, false, 0, "7 is odd"}};
  for (const Case& c : cases) {
    const Result<int> r = half(c.input);
    ASSERT_EQ(r.ok(), c.ok) << c.input;
    EXPECT_EQ(static_cast<bool>(r), c.ok) << c.input;
    if (c.ok) {
      EXPECT_EQ(r.value(), c.value);
    } else {
      EXPECT_EQ(r.error(), c.error);
    }
  }
}

TEST(Result, AnEmptyValueIsStillAValueAndMoveOnlyValuesMoveOut) {
  const Result<std::string> empty = std::string();
  EXPECT_TRUE(empty.ok());
  EXPECT_TRUE(empty.value().empty());
  EXPECT_FALSE(Result<std::string>::failure("").ok());

  Result<std::unique_ptr<int>> owned = std::make_unique<int>(5);
  ASSERT_TRUE(owned);
  std::unique_ptr<int> taken = std::move(owned).value();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(*taken, 5);
}

}  // namespace
}  // namespace tagwright
