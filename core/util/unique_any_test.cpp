#include "core/util/unique_any.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tagwright {
namespace {

// Handles are ints, 0 is "none"; every close is written down, so that a
// handle closed twice or never shows.
struct CountingTraits {
  using type = int;
  std::vector<int>* closed = nullptr;
  static constexpr int invalid() noexcept { return 0; }
  void close(int handle) const noexcept { closed->push_back(handle); }
};
using Owner = unique_any<CountingTraits>;

TEST(UniqueAny, EveryHandleIsClosedExactlyOnceWhateverItsOwnerDoes) {
  std::vector<int> closed;
  const CountingTraits traits{&closed};
  {
    Owner a(1, traits);
    a.reset(2);  // 1 goes now
    a.reset(2);  // the same handle again is not closed twice
    EXPECT_EQ(closed, (std::vector<int>{1}));

    int* out = a.put();  // 2 goes, and an API fills the owner in
    *out = 3;
    EXPECT_EQ(a.get(), 3);

    Owner b(4, traits);
    const int released = b.release();  // handed over: never closed by the owner
    EXPECT_EQ(released, 4);
    EXPECT_FALSE(b);
    b.reset();  // nothing held: nothing closed
  }
  EXPECT_EQ(closed, (std::vector<int>{1, 2, 3}));
}

TEST(UniqueAny, MovesHandOverTheHandleAndTheTraits) {
  std::vector<int> first;
  std::vector<int> second;
  {
    Owner a(1, CountingTraits{&first});
    Owner b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), 1);

    Owner c(2, CountingTraits{&second});
    c = std::move(b);  // 2 goes through its own traits; c now closes 1 through a's
    EXPECT_EQ(second, (std::vector<int>{2}));
    EXPECT_TRUE(first.empty());

    Owner& alias = c;
    c = std::move(alias);  // a move onto itself keeps the handle
    EXPECT_EQ(c.get(), 1);
  }
  EXPECT_EQ(first, (std::vector<int>{1}));
  EXPECT_EQ(second, (std::vector<int>{2}));
}

}  // namespace
}  // namespace tagwright
