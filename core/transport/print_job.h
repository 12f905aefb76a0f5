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

// Runs print jobs away from the caller's thread; queue() returns at once.
// Jobs queued one after another start in that order.
class JobRunner {
 public:
  virtual ~JobRunner() = default;
  virtual void queue(PrintJob job) = 0;
};

}  // namespace tagwright
