#include "platform/win32/transport/win32_job_runner.h"

#include <windows.h>

#include <deque>
#include <mutex>
#include <utility>

namespace tagwright {

struct Win32JobRunner::Queue {
  Queue(Routine r, std::shared_ptr<void> k, PendingJobs& p)
      : routine(std::move(r)), keepAlive(std::move(k)), pending(p) {}

  struct Job {
    PrintJob job;
    PendingJobs::Ticket ticket;
  };

  Routine routine;
  std::shared_ptr<void> keepAlive;
  PendingJobs& pending;
  std::mutex lock;  // guards jobs and serving
  std::deque<Job> jobs;
  bool serving = false;
};

namespace {

// What one work item carries. The ticket is declared first so that it is
// given back last, after the queue reference: once the count reaches zero
// nothing of this item but its return remains to run.
struct WorkItem {
  PendingJobs::Ticket ticket;
  std::shared_ptr<Win32JobRunner::Queue> queue;
};

void serveQueue(Win32JobRunner::Queue& queue) {
  {
    std::lock_guard<std::mutex> guard(queue.lock);
    if (queue.serving) return;  // another item serves the queue; it will find our job
    queue.serving = true;
  }
  for (;;) {
    Win32JobRunner::Queue::Job next;
    {
      std::lock_guard<std::mutex> guard(queue.lock);
      if (queue.jobs.empty()) {
        queue.serving = false;
        return;
      }
      next = std::move(queue.jobs.front());
      queue.jobs.pop_front();
    }
    try {
      queue.routine(std::move(next.job));
    } catch (...) {
      // Nothing may leave a thread-pool routine; the job is lost, the queue
      // goes on.
    }
  }
}

DWORD WINAPI runWorkItem(LPVOID context) {
  std::unique_ptr<WorkItem> item(static_cast<WorkItem*>(context));
  serveQueue(*item->queue);
  return 0;
}

}  // namespace

Win32JobRunner::Win32JobRunner(Routine routine, std::shared_ptr<void> keepAlive,
                               PendingJobs& pending)
    : queue_(std::make_shared<Queue>(std::move(routine), std::move(keepAlive), pending)) {}

Win32JobRunner::~Win32JobRunner() = default;

void Win32JobRunner::queue(PrintJob job) {
  try {
    auto item = std::make_unique<WorkItem>(WorkItem{queue_->pending.enter(), queue_});
    Queue::Job entry{std::move(job), queue_->pending.enter()};
    {
      std::lock_guard<std::mutex> guard(queue_->lock);
      queue_->jobs.push_back(std::move(entry));
    }
    if (QueueUserWorkItem(&runWorkItem, item.get(), WT_EXECUTEINPERSISTENTTHREAD)) {
      item.release();  // the work item owns it now
    }
    // When the pool refuses the item, the job stays queued (and pending)
    // and the next job's work item serves it.
  } catch (...) {
    // Out of memory at hand-off: the job is lost, the script goes on.
  }
}

}  // namespace tagwright
