#include "core/transport/pending_jobs.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>

namespace tagwright {
namespace {

using std::chrono::milliseconds;

TEST(PendingJobs, TicketsCountJobsUntilTheyAreDestroyed) {
  PendingJobs pending;
  EXPECT_EQ(pending.count(), 0);
  {
    PendingJobs::Ticket first = pending.enter();
    PendingJobs::Ticket second = pending.enter();
    EXPECT_EQ(pending.count(), 2);
    PendingJobs::Ticket moved = std::move(first);
    EXPECT_EQ(pending.count(), 2) << "a move hands the place on";
    moved = std::move(second);
    EXPECT_EQ(pending.count(), 1) << "the overwritten ticket gives its place back";
    EXPECT_FALSE(pending.waitUntilNone(milliseconds(1)));
  }
  EXPECT_EQ(pending.count(), 0);
  EXPECT_TRUE(pending.waitUntilNone(milliseconds(0)));
}

TEST(PendingJobs, WaitEndsWhenAnotherThreadFinishesTheLastJob) {
  PendingJobs pending;
  PendingJobs::Ticket ticket = pending.enter();
  std::thread job([t = std::move(ticket)]() mutable {
    std::this_thread::sleep_for(milliseconds(5));
    PendingJobs::Ticket done = std::move(t);
  });
  EXPECT_TRUE(pending.waitUntilNone(milliseconds(5000)));
  EXPECT_EQ(pending.count(), 0);
  job.join();
}

}  // namespace
}  // namespace tagwright
