#include "platform/win32/transport/win32_print_runner.h"

#include "core/transport/print_abort.h"
#include "core/transport/print_worker.h"
#include "core/transport/sleeper.h"
#include "platform/win32/transport/job_watch.h"
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
  Win32PrintStation* used = station.get();
  return std::make_unique<Win32JobRunner>(
      [used](PrintJob job) {
        const std::int32_t port = job.port;
        static_cast<void>(used->ports.takeCutShort());
        const JobOutcome outcome = used->worker.run(std::move(job));
        // A job cut short on a mapped target was told about with the
        // port's own message; for the watch it did not reach the printer.
        const bool reached = outcome == JobOutcome::Written && !used->ports.takeCutShort();
        processJobWatch().jobEnded(port, reached);
        return outcome;
      },
      station);
}

}  // namespace tagwright
