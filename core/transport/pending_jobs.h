#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace tagwright {

// Counts the print jobs that are queued or running. The code that runs a job
// lives in the component's module, so the module must not be unloaded, nor
// the host program end, while the count is above zero.
class PendingJobs {
 public:
  // One job's place in the count: taken when the job is queued, given back
  // when it is destroyed, so that a job ends its count on every way out.
  class Ticket {
   public:
    Ticket() = default;
    Ticket(Ticket&& other) noexcept : owner_(other.owner_) { other.owner_ = nullptr; }
    Ticket& operator=(Ticket&& other) noexcept;
    Ticket(const Ticket&) = delete;
    Ticket& operator=(const Ticket&) = delete;
    ~Ticket() { release(); }

   private:
    friend class PendingJobs;
    explicit Ticket(PendingJobs* owner) : owner_(owner) {}
    void release();
    PendingJobs* owner_ = nullptr;
  };

  [[nodiscard]] Ticket enter();
  std::int64_t count() const;
  // Blocks until no job is pending or the time is up; true when none is.
  bool waitUntilNone(std::chrono::milliseconds timeout) const;

 private:
  void leave();

  mutable std::mutex lock_;
  mutable std::condition_variable none_;
  std::int64_t count_ = 0;
};

// The process-wide count, which the module's unload check consults. Never
// destroyed, since a job may end while the process is shutting down.
PendingJobs& processPendingJobs();

}  // namespace tagwright
