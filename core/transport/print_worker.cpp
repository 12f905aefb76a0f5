#include "core/transport/print_worker.h"

#include <string>
#include <utility>

#include "core/transport/printer_port.h"

namespace tagwright {

JobOutcome PrintWorker::run(PrintJob job) const {
  if (services_.printAbort.isSet()) return JobOutcome::Dropped;

  const std::chrono::milliseconds closeDelay = services_.closeDelay.closeDelay();

  PortHandle handle = kInvalidPort;
  for (;;) {
    std::string errorText;
    handle = OpenPrinterPort(services_.ports, services_.sleeper, job.port, errorText);
    if (handle != kInvalidPort) break;
    switch (services_.prompt.ask(errorText)) {
      case PromptAnswer::Abort: services_.printAbort.set(); return JobOutcome::Dropped;
      case PromptAnswer::Ignore: return JobOutcome::Dropped;
      case PromptAnswer::Retry: break;
      case PromptAnswer::Failed: services_.sleeper.sleepFor(kUnansweredPromptPause); break;
    }
  }

  OpenedPrinterPort port(services_.ports, job.port, handle);
  {
    // The text is released as soon as it is written; the port may stay open
    // for the close delay.
    const std::string text = std::move(job.text);
    std::uint32_t written = 0;
    services_.ports.write(port.get(), text, written);
  }
  services_.sleeper.sleepFor(closeDelay);
  port.close();
  return JobOutcome::Written;
}

}  // namespace tagwright
