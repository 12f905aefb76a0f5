#include "core/transport/pending_jobs.h"

namespace tagwright {

PendingJobs::Ticket& PendingJobs::Ticket::operator=(Ticket&& other) noexcept {
  if (this != &other) {
    release();
    owner_ = other.owner_;
    other.owner_ = nullptr;
  }
  return *this;
}

void PendingJobs::Ticket::release() {
  if (owner_ != nullptr) owner_->leave();
  owner_ = nullptr;
}

PendingJobs::Ticket PendingJobs::enter() {
  std::lock_guard<std::mutex> guard(lock_);
  ++count_;
  return Ticket(this);
}

void PendingJobs::leave() {
  std::lock_guard<std::mutex> guard(lock_);
  if (--count_ == 0) none_.notify_all();
}

std::int64_t PendingJobs::count() const {
  std::lock_guard<std::mutex> guard(lock_);
  return count_;
}

bool PendingJobs::waitUntilNone(std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> guard(lock_);
  return none_.wait_for(guard, timeout, [this] { return count_ == 0; });
}

PendingJobs& processPendingJobs() {
  static PendingJobs* pending = new PendingJobs();
  return *pending;
}

}  // namespace tagwright
