#pragma once

#include "core/transport/close_delay.h"
#include "core/transport/port_layer.h"
#include "core/transport/print_abort.h"
#include "core/transport/print_worker.h"
#include "core/transport/sleeper.h"
#include "support/fake_port_layer.h"

namespace tagwright::testing {

// The print worker over a real port layer, sleeping for real, with a
// scripted prompt and no delay at the close: for tests that print through
// the whole path to a device, a file or a test printer.
struct RealTimeWorker {
  explicit RealTimeWorker(PortLayer& ports)
      : worker(PrintWorkerServices{ports, prompt, sleeper, delay, abort}) {}
  ScriptedPrompt prompt;
  ThreadSleeper sleeper;
  NoCloseDelay delay;
  PrintAbortState abort;
  PrintWorker worker;
};

}  // namespace tagwright::testing
