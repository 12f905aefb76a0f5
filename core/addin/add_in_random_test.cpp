#include <random>

#include "support/add_in_fixture.h"
#include "support/dispatch_driver.h"

namespace tagwright {
namespace {

using AddInRandomTest = testing::AddInTest;

// Random method numbers and argument arrays through the dispatch: no crash
// (the sanitizer build watches memory and undefined behaviour), and the
// command text keeps its form whatever the script passes.
TEST_F(AddInRandomTest, RandomCallsKeepTheCommandTextWellFormed) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::uint8_t> bytes(2000);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    testing::DispatchDriver driver(bytes.data(), bytes.size());
    while (!driver.done()) {
      driver.step(addIn);
      ASSERT_EQ(testing::checkCommandText(addIn.label().headerText()), "");
      ASSERT_EQ(testing::checkCommandText(addIn.label().bodyText()), "");
      ASSERT_EQ(testing::checkCommandText(addIn.label().jobText()), "");
    }
  }
  for (const PrintJob& job : runner.jobs()) ASSERT_EQ(testing::checkCommandText(job.text), "");
  EXPECT_FALSE(runner.jobs().empty()) << "the random calls never reached Print";
}

}  // namespace
}  // namespace tagwright
