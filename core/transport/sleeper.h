#pragma once

#include <chrono>

namespace tagwright {

// Waiting, behind an interface so that tests run the retry loops at once.
class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void sleepFor(std::chrono::milliseconds duration) = 0;
};

// Sleeps the calling thread.
class ThreadSleeper final : public Sleeper {
 public:
  void sleepFor(std::chrono::milliseconds duration) override;
};

}  // namespace tagwright
