#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

#include "core/transport/pending_jobs.h"
#include "core/transport/print_job.h"
#include "core/transport/print_worker.h"

namespace tagwright {

// Runs print jobs on one long-lived thread, one at a time, in the order they
// were queued. queue() returns at once. Every queued job counts as pending
// (in the given PendingJobs) until it has ended.
class ThreadJobRunner final : public JobRunner {
 public:
  using Routine = std::function<JobOutcome(PrintJob)>;

  explicit ThreadJobRunner(Routine routine, PendingJobs& pending = processPendingJobs());
  // Finishes the jobs already queued, then ends the thread.
  ~ThreadJobRunner() override;
  ThreadJobRunner(const ThreadJobRunner&) = delete;
  ThreadJobRunner& operator=(const ThreadJobRunner&) = delete;

  // A job queued after finish() is not run; it counts as dropped.
  void queue(PrintJob job) override;
  // Blocks until every job queued so far has ended.
  void waitUntilIdle();
  // Stops taking jobs, finishes the queued ones and ends the thread. The
  // destructor does the same; calling it twice is harmless.
  void finish();
  // Jobs ended so far; a routine that throws counts as dropped.
  JobTally tally() const;

 private:
  struct QueuedJob {
    PrintJob job;
    PendingJobs::Ticket ticket;
  };

  void serve();

  Routine routine_;
  PendingJobs& pending_;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::deque<QueuedJob> jobs_;
  bool running_ = false;  // a job has been taken and not yet ended
  bool finishing_ = false;
  JobTally tally_;
  std::thread thread_;  // last: starts once everything above is ready
};

}  // namespace tagwright
