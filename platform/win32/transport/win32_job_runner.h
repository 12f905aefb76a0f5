#pragma once

#include <functional>
#include <memory>

#include "core/transport/pending_jobs.h"
#include "core/transport/print_job.h"
#include "core/transport/print_worker.h"

namespace tagwright {

// Runs print jobs on the system thread pool (QueueUserWorkItem with
// WT_EXECUTEINPERSISTENTTHREAD); queue() returns at once.
//
// The persistent-thread flag asks for a thread that never ends, but the
// system does not promise that every item runs on the same one, nor one at
// a time. So the jobs wait in a queue of their own: each work item serves
// that queue from its front, and only one work item serves it at a time
// (the others return at once). Jobs therefore run one after another, in
// hand-off order, whatever threads the pool uses.
//
// The queue, the routine and what it uses are shared with the work items,
// so they live until the last item has returned even when the runner is
// destroyed first. Every job and every work item counts as pending until it
// has ended, so that the module is not unloaded under them.
class Win32JobRunner final : public JobRunner {
 public:
  using Routine = std::function<JobOutcome(PrintJob)>;

  // `keepAlive` is held with the routine for as long as any job may run.
  Win32JobRunner(Routine routine, std::shared_ptr<void> keepAlive,
                 PendingJobs& pending = processPendingJobs());
  ~Win32JobRunner() override;
  Win32JobRunner(const Win32JobRunner&) = delete;
  Win32JobRunner& operator=(const Win32JobRunner&) = delete;

  void queue(PrintJob job) override;

  struct Queue;

 private:
  std::shared_ptr<Queue> queue_;
};

}  // namespace tagwright
