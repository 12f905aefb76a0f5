#pragma once

#include <memory>
#include <string>

#include "virtual_printer/printer_wait.h"

namespace tagwright::cli::printer {

// What ends the printer's wait: readable once stop() was called from any
// thread, or a stopping signal came (SIGINT and SIGTERM on POSIX; Ctrl+C,
// Ctrl+Break and the console's closing on Windows) while a SignalStop is
// alive. A pipe on POSIX, a connected pair of loopback sockets on Windows,
// where only sockets can be waited on together with sockets.
class WakePipe {
 public:
  WakePipe();
  WaitHandle waitHandle() const { return read_.get(); }
  void stop() const;
  bool ok() const { return read_ && write_; }
  // What stopped it, in the log's words ("interrupted (SIGINT)"); empty
  // when stop() did or nothing has.
  std::string signalSeen() const;

 private:
  friend class SignalStop;
  unique_wait_handle read_;
  unique_wait_handle write_;
};

// The stopping signals stop `pipe` instead of the process, for the life of
// this object; what they did before comes back afterwards. One at a time.
class SignalStop {
 public:
  explicit SignalStop(WakePipe& pipe);
  ~SignalStop();
  SignalStop(const SignalStop&) = delete;
  SignalStop& operator=(const SignalStop&) = delete;

 private:
  struct Previous;
  std::unique_ptr<Previous> previous_;
};

}  // namespace tagwright::cli::printer
