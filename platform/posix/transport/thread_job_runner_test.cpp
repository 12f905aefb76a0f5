#include "platform/posix/transport/thread_job_runner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>

namespace tagwright {
namespace {

using std::chrono::milliseconds;

PrintJob job(std::string text) { return PrintJob{std::move(text), 0}; }

TEST(ThreadJobRunner, RunsJobsOneAtATimeInHandOffOrder) {
  std::mutex lock;
  std::vector<std::string> ran;
  std::atomic<int> active{0};
  std::atomic<int> mostActive{0};
  PendingJobs pending;
  ThreadJobRunner runner(
      [&](PrintJob j) {
        const int now = ++active;
        if (now > mostActive) mostActive = now;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        {
          std::lock_guard<std::mutex> guard(lock);
          ran.push_back(j.text);
        }
        --active;
        return JobOutcome::Written;
      },
      pending);
  std::vector<std::string> queued;
  for (int n = 0; n < 50; ++n) {
    queued.push_back("job " + std::to_string(n));
    runner.queue(job(queued.back()));
  }
  runner.waitUntilIdle();
  std::lock_guard<std::mutex> guard(lock);
  EXPECT_EQ(ran, queued);
  EXPECT_EQ(mostActive.load(), 1);
  EXPECT_EQ(runner.tally().written, 50u);
  EXPECT_EQ(pending.count(), 0);
}

TEST(ThreadJobRunner, QueueReturnsAtOnceAndJobsCountAsPendingUntilTheyEnd) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  PendingJobs pending;
  ThreadJobRunner runner(
      [released](PrintJob) {
        released.wait();
        return JobOutcome::Dropped;
      },
      pending);
  runner.queue(job("a"));
  runner.queue(job("b"));
  EXPECT_EQ(pending.count(), 2);
  EXPECT_FALSE(pending.waitUntilNone(milliseconds(20)));
  release.set_value();
  EXPECT_TRUE(pending.waitUntilNone(milliseconds(5000)));
  runner.waitUntilIdle();
  EXPECT_EQ(runner.tally().dropped, 2u);
  EXPECT_EQ(runner.tally().written, 0u);
}

TEST(ThreadJobRunner, DestructionFinishesTheQueuedJobsFirst) {
  std::atomic<int> ran{0};
  PendingJobs pending;
  {
    ThreadJobRunner runner(
        [&](PrintJob) {
          std::this_thread::sleep_for(milliseconds(2));
          ++ran;
          return JobOutcome::Written;
        },
        pending);
    for (int n = 0; n < 5; ++n) runner.queue(job("x"));
  }
  EXPECT_EQ(ran.load(), 5);
  EXPECT_EQ(pending.count(), 0);
}

TEST(ThreadJobRunner, JobQueuedAfterFinishIsDroppedAndNotPending) {
  std::atomic<int> ran{0};
  PendingJobs pending;
  ThreadJobRunner runner(
      [&](PrintJob) {
        ++ran;
        return JobOutcome::Written;
      },
      pending);
  runner.queue(job("before"));
  runner.finish();
  runner.finish();
  runner.queue(job("after"));
  EXPECT_EQ(ran.load(), 1);
  EXPECT_EQ(runner.tally().written, 1u);
  EXPECT_EQ(runner.tally().dropped, 1u);
  EXPECT_EQ(pending.count(), 0);
}

TEST(ThreadJobRunner, AFailingJobIsDroppedAndTheNextStillRuns) {
  PendingJobs pending;
  ThreadJobRunner runner(
      [](PrintJob j) {
        if (j.text == "bad") throw std::runtime_error("port layer failed");
        return JobOutcome::Written;
      },
      pending);
  runner.queue(job("bad"));
  runner.queue(job("good"));
  runner.waitUntilIdle();
  EXPECT_EQ(runner.tally().dropped, 1u);
  EXPECT_EQ(runner.tally().written, 1u);
  EXPECT_EQ(pending.count(), 0);
}

}  // namespace
}  // namespace tagwright
