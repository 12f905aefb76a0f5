#include "platform/win32/transport/win32_print_runner.h"

#include "core/transport/print_abort.h"
#include "core/transport/print_worker.h"
#include "core/transport/sleeper.h"
#include "platform/win32/transport/message_box_prompt.h"
#include "platform/win32/transport/version_close_delay.h"
#include "platform/win32/transport/win32_job_runner.h"
#include "platform/win32/transport/win32_port_layer.h"

namespace tagwright {
namespace {

// Everything a worker uses; shared with the work items so that it outlives
// any job still queued when the runner goes.
struct Win32PrintStation {
  Win32PrintStation(HMODULE module, MappedPorts* mapped)
      : ports(mapped),
        prompt(module),
        worker(PrintWorkerServices{ports, prompt, sleeper, closeDelay, processPrintAbort()}) {}

  Win32PortLayer ports;
  MessageBoxPrompt prompt;
  ThreadSleeper sleeper;
  VersionCloseDelay closeDelay;
  PrintWorker worker;
};

}  // namespace

std::unique_ptr<JobRunner> makeWin32PrintRunner(HMODULE module, MappedPorts* mapped) {
  auto station = std::make_shared<Win32PrintStation>(module, mapped);
  const PrintWorker* worker = &station->worker;
  return std::make_unique<Win32JobRunner>(
      [worker](PrintJob job) { return worker->run(std::move(job)); }, station);
}

}  // namespace tagwright
