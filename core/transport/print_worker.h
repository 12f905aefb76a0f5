#pragma once

#include <chrono>

#include "core/transport/close_delay.h"
#include "core/transport/port_layer.h"
#include "core/transport/print_abort.h"
#include "core/transport/print_job.h"
#include "core/transport/sleeper.h"
#include "core/transport/user_prompt.h"

namespace tagwright {

// The services one print worker works with. All of them must outlive every
// job that the worker runs.
struct PrintWorkerServices {
  PortLayer& ports;
  UserPrompt& prompt;
  Sleeper& sleeper;
  CloseDelayPolicy& closeDelay;
  PrintAbortState& printAbort;
};

// Sends one print job to its port, on a thread of its own so that the
// script does not wait for the printer. A job that starts after the user
// answered Abort is dropped without a question. While the port cannot be
// opened the user is asked: Abort drops this job and the ones already
// waiting, Ignore drops this job only, Retry opens the port again from the
// start. The whole text goes out in one write; a failed or short write is
// not noticed. Nothing is reported back to the script or the host.
class PrintWorker {
 public:
  // Pause before opening again when the question could not be shown, so
  // that a worker without a user never spins.
  static constexpr std::chrono::milliseconds kUnansweredPromptPause{1000};

  explicit PrintWorker(const PrintWorkerServices& services) : services_(services) {}

  JobOutcome run(PrintJob job) const;

 private:
  PrintWorkerServices services_;
};

}  // namespace tagwright
