#include "designer/render_gate.h"

namespace tagwright::designer {

RenderGate::RenderGate() : worker_([this] { work(); }) {}

RenderGate::~RenderGate() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
  }
  changed_.notify_all();
  worker_.join();
}

RenderGate::Outcome RenderGate::run(std::function<void()> task, std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> guard(lock_);
  if (busy_) return Outcome::Busy;
  busy_ = true;
  pending_ = std::move(task);
  const std::uint64_t mine = ++started_;
  changed_.notify_all();
  const bool ended = changed_.wait_for(guard, limit, [&] { return finished_ >= mine; });
  return ended ? Outcome::Done : Outcome::TimedOut;
}

void RenderGate::work() {
  std::unique_lock<std::mutex> guard(lock_);
  for (;;) {
    changed_.wait(guard, [this] { return stopping_ || pending_; });
    if (!pending_) return;
    std::function<void()> task = std::move(pending_);
    pending_ = nullptr;
    const std::uint64_t serial = started_;
    guard.unlock();
    task();
    guard.lock();
    finished_ = serial;
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace tagwright::designer
