#pragma once

#include <csignal>

#include "platform/posix/unique_resource.h"

namespace tagwright::cli::printer {

// A pipe that ends the printer's wait: written by stop() from any thread,
// or by SIGINT and SIGTERM while a SignalStop is alive.
class WakePipe {
 public:
  WakePipe();
  int readEnd() const { return read_.get(); }
  void stop() const;
  bool ok() const { return read_ && write_; }
  // The signal that stopped it, or 0 when stop() did or nothing has.
  int signalSeen() const;

 private:
  friend class SignalStop;
  unique_fd read_;
  unique_fd write_;
};

// SIGINT and SIGTERM stop `pipe` instead of the process, for the life of
// this object; the previous handlers come back afterwards. One at a time.
class SignalStop {
 public:
  explicit SignalStop(WakePipe& pipe);
  ~SignalStop();
  SignalStop(const SignalStop&) = delete;
  SignalStop& operator=(const SignalStop&) = delete;

 private:
  struct sigaction previousInterrupt_ {};
  struct sigaction previousTerminate_ {};
};

}  // namespace tagwright::cli::printer
