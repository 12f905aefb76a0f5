#pragma once

#include <cstdint>
#include <string>

namespace tagwright {

// One finished job: the command text and the port index it goes to, both
// fixed at hand-off, so later changes of settings or buffers do not touch it.
struct PrintJob {
  std::string text;
  std::int32_t port = 0;
};

// How one job ended: sent to its port, or dropped (by the user's answer, by
// an earlier Abort, or because it failed).
enum class JobOutcome { Written, Dropped };

// How the jobs handed off so far have ended.
struct JobTally {
  std::uint64_t written = 0;
  std::uint64_t dropped = 0;

  void count(JobOutcome outcome) { ++(outcome == JobOutcome::Written ? written : dropped); }
};

// Runs print jobs away from the caller's thread; queue() returns at once.
// Jobs queued one after another start in that order.
class JobRunner {
 public:
  virtual ~JobRunner() = default;
  virtual void queue(PrintJob job) = 0;
};

}  // namespace tagwright
