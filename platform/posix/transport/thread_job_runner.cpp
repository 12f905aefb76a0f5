#include "platform/posix/transport/thread_job_runner.h"

namespace tagwright {

ThreadJobRunner::ThreadJobRunner(Routine routine, PendingJobs& pending)
    : routine_(std::move(routine)), pending_(pending), thread_([this] { serve(); }) {}

ThreadJobRunner::~ThreadJobRunner() { finish(); }

void ThreadJobRunner::queue(PrintJob job) {
  PendingJobs::Ticket ticket = pending_.enter();
  std::lock_guard<std::mutex> guard(lock_);
  if (finishing_) {
    tally_.count(JobOutcome::Dropped);
    return;
  }
  jobs_.push_back(QueuedJob{std::move(job), std::move(ticket)});
  changed_.notify_all();
}

void ThreadJobRunner::waitUntilIdle() {
  std::unique_lock<std::mutex> guard(lock_);
  changed_.wait(guard, [this] { return jobs_.empty() && !running_; });
}

void ThreadJobRunner::finish() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    finishing_ = true;
    changed_.notify_all();
  }
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

JobTally ThreadJobRunner::tally() const {
  std::lock_guard<std::mutex> guard(lock_);
  return tally_;
}

void ThreadJobRunner::serve() {
  std::unique_lock<std::mutex> guard(lock_);
  for (;;) {
    changed_.wait(guard, [this] { return !jobs_.empty() || finishing_; });
    if (jobs_.empty()) return;  // finishing, and nothing left
    QueuedJob next = std::move(jobs_.front());
    jobs_.pop_front();
    running_ = true;
    guard.unlock();

    JobOutcome outcome = JobOutcome::Dropped;
    try {
      outcome = routine_(std::move(next.job));
    } catch (...) {
      // A job that fails is lost; the jobs after it still run.
    }

    guard.lock();
    tally_.count(outcome);
    // The job's pending place is given back once its outcome counts, so that
    // whoever waits for no pending jobs then reads a full tally.
    guard.unlock();
    next.ticket = PendingJobs::Ticket();
    guard.lock();
    running_ = false;
    changed_.notify_all();
  }
}

}  // namespace tagwright
