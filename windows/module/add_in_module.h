#pragma once

#include <windows.h>

#include <atomic>

#include "core/addin/add_in.h"

namespace tagwright::com {

// The module object: the instance handle of the DLL, the count of module
// locks (live add-in objects, server locks and references to the class
// factory held outside the module) and the platform services that every
// add-in object of the module shares.
class AddInModule {
 public:
  void attach(HINSTANCE instance) noexcept { instance_ = instance; }
  HINSTANCE instance() const noexcept { return instance_; }

  void lock() noexcept { locks_.fetch_add(1); }
  void unlock() noexcept { locks_.fetch_sub(1); }
  long lockCount() const noexcept { return locks_.load(); }

  // True when nothing holds the module: no lock and no print job queued or
  // running (a job runs code of this module on a pool thread).
  bool canUnload() const;

  // Code pages, print runner and abort state; made on first use.
  AddInServices services();

 private:
  HINSTANCE instance_ = nullptr;
  std::atomic<long> locks_{0};
};

AddInModule& addInModule() noexcept;

// Holds one module lock while it lives.
class ModuleLock {
 public:
  ModuleLock() noexcept { addInModule().lock(); }
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
  ~ModuleLock() { addInModule().unlock(); }
};

}  // namespace tagwright::com
