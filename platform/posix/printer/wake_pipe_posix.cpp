#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

#include "virtual_printer/wake_pipe.h"

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
  [[maybe_unused]] const ssize_t ignored = ::write(static_cast<int>(write_.get()), &byte, 1);
}

std::string WakePipe::signalSeen() const {
  switch (lastSignal.load()) {
    case SIGINT: return "interrupted (SIGINT)";
    case SIGTERM: return "terminated (SIGTERM)";
    default: return {};
  }
}

struct SignalStop::Previous {
  struct sigaction interrupt {};
  struct sigaction terminate {};
};

SignalStop::SignalStop(WakePipe& pipe) : previous_(std::make_unique<Previous>()) {
  lastSignal = 0;
  signalWriteEnd = static_cast<int>(pipe.write_.get());
  struct sigaction action {};
  action.sa_handler = forwardSignal;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, &previous_->interrupt);
  ::sigaction(SIGTERM, &action, &previous_->terminate);
}

SignalStop::~SignalStop() {
  ::sigaction(SIGINT, &previous_->interrupt, nullptr);
  ::sigaction(SIGTERM, &previous_->terminate, nullptr);
  signalWriteEnd = -1;
}

}  // namespace tagwright::cli::printer
