#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>

namespace tagwright {

// Told on the print worker's thread after each job it has run: the job's
// port index, and whether the job reached its port whole (false: dropped
// by an answer to the port's prompt, by an earlier Abort, or cut short on
// a mapped target). The worker takes the next job only once it returns.
// Crosses module boundaries (the component's DLL calls into the program
// that set it), so it has the system's calling convention and types.
using JobEndedHook = void(WINAPI*)(void* context, LONG port, BOOL reached);

// The hook that a program hosting the component may set for its own
// process (tagwright.exe run --confirm). With none set, jobs run as they
// always did. Safe to use from several threads.
class JobWatch {
 public:
  void set(JobEndedHook hook, void* context);
  // Calls the hook, if one is set, while holding it: set() waits for a call
  // under way, so the context is not released under it.
  void jobEnded(std::int32_t port, bool reached) const;

 private:
  mutable std::mutex lock_;
  JobEndedHook hook_ = nullptr;
  void* context_ = nullptr;
};

// The watch of this module (the component's, in the DLL).
JobWatch& processJobWatch();

}  // namespace tagwright
