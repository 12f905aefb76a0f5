#include <pthread.h>
#include <signal.h>

#include "cli/app/serve_stop.h"

namespace tagwright::cli {

// SIGINT and SIGTERM, held back from every thread and taken by the one that
// waits: httplib's threads then never see a signal. SIGUSR1 is the
// server's own cue that it ended.
struct ServeStop::State {
  sigset_t set;
  sigset_t previous;
  pthread_t waiter = pthread_self();
};

ServeStop::ServeStop() : state_(std::make_unique<State>()) {
  sigemptyset(&state_->set);
  sigaddset(&state_->set, SIGINT);
  sigaddset(&state_->set, SIGTERM);
  sigaddset(&state_->set, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &state_->set, &state_->previous);
}

// Takes what is still pending (the server's cue, sent as it ended) before
// the signals are let through again.
ServeStop::~ServeStop() {
  const timespec now{0, 0};
  while (sigtimedwait(&state_->set, nullptr, &now) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &state_->previous, nullptr);
}

bool ServeStop::ready() const { return true; }

void ServeStop::serverEnded() { pthread_kill(state_->waiter, SIGUSR1); }

bool ServeStop::wait() {
  int taken = 0;
  sigwait(&state_->set, &taken);
  return taken != SIGUSR1;
}

}  // namespace tagwright::cli
