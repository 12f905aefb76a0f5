#pragma once

#include <mutex>

namespace tagwright {

// PrintAbortFlag under PrintAbortLock: set when the user answers Abort, so
// that every job starting afterwards is dropped; cleared at every hand-off
// and at Init. The lock is held for one read or one write only.
class PrintAbortState {
 public:
  void clear() { store(false); }
  void set() { store(true); }
  bool isSet() const {
    std::lock_guard<std::mutex> guard(PrintAbortLock);
    return PrintAbortFlag != 0;
  }

 private:
  void store(bool aborted) {
    std::lock_guard<std::mutex> guard(PrintAbortLock);
    PrintAbortFlag = aborted ? 1 : 0;
  }
  mutable std::mutex PrintAbortLock;
  int PrintAbortFlag = 0;
};

// The one process-wide instance, shared by all add-in objects and workers.
PrintAbortState& processPrintAbort();

}  // namespace tagwright
