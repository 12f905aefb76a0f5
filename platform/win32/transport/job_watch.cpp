#include "platform/win32/transport/job_watch.h"

namespace tagwright {

void JobWatch::set(JobEndedHook hook, void* context) {
  std::lock_guard<std::mutex> guard(lock_);
  hook_ = hook;
  context_ = context;
}

void JobWatch::jobEnded(std::int32_t port, bool reached) const {
  std::lock_guard<std::mutex> guard(lock_);
  if (hook_ != nullptr) hook_(context_, static_cast<LONG>(port), reached ? TRUE : FALSE);
}

JobWatch& processJobWatch() {
  static JobWatch watch;
  return watch;
}

}  // namespace tagwright
