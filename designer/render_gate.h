#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace tagwright::designer {

// Runs the designer's work (renders, prints) one task at a time on a thread
// of its own, and waits for each at most a given time: a script that takes
// too long to draw gets its answer ("too long") while the drawing goes on,
// and no other task starts until it has ended, so that a run of slow
// scripts cannot pile up threads. A task must own what it works on.
class RenderGate {
 public:
  enum class Outcome { Done, Busy, TimedOut };

  RenderGate();
  ~RenderGate();  // waits for the task that runs, if any
  RenderGate(const RenderGate&) = delete;
  RenderGate& operator=(const RenderGate&) = delete;

  Outcome run(std::function<void()> task, std::chrono::milliseconds limit);

 private:
  void work();

  std::mutex lock_;
  std::condition_variable changed_;
  std::function<void()> pending_;
  bool busy_ = false;
  bool stopping_ = false;
  std::uint64_t started_ = 0;
  std::uint64_t finished_ = 0;
  std::thread worker_;
};

}  // namespace tagwright::designer
