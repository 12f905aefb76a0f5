#include "virtual_printer/wake_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>

namespace tagwright::cli::printer {
namespace {

std::atomic<int> signalWriteEnd{-1};
std::atomic<int> lastSignal{0};

extern "C" void forwardSignal(int number) {
  lastSignal = number;
  const int fd = signalWriteEnd.load();
  if (fd >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(fd, &byte, 1);
  }
}

}  // namespace

WakePipe::WakePipe() {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
    read_.reset(ends[0]);
    write_.reset(ends[1]);
  }
}

void WakePipe::stop() const {
  const char byte = 0;
  [[maybe_unused]] const ssize_t ignored = ::write(write_.get(), &byte, 1);
}

int WakePipe::signalSeen() const { return lastSignal.load(); }

SignalStop::SignalStop(WakePipe& pipe) {
  lastSignal = 0;
  signalWriteEnd = pipe.write_.get();
  struct sigaction action {};
  action.sa_handler = forwardSignal;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, &previousInterrupt_);
  ::sigaction(SIGTERM, &action, &previousTerminate_);
}

SignalStop::~SignalStop() {
  ::sigaction(SIGINT, &previousInterrupt_, nullptr);
  ::sigaction(SIGTERM, &previousTerminate_, nullptr);
  signalWriteEnd = -1;
}

}  // namespace tagwright::cli::printer
