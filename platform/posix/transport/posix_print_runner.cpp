#include "platform/posix/transport/posix_print_runner.h"

#include <utility>

#include "core/transport/close_delay.h"
#include "core/transport/print_worker.h"
#include "core/transport/sleeper.h"

namespace tagwright {
namespace {

// Everything one worker needs, kept alive by the runner's routine.
struct PosixPrintStation {
  PosixPrintStation(std::unique_ptr<PortLayer> layer, UserPrompt& prompt, PrintAbortState& abort)
      : ports(std::move(layer)),
        worker(PrintWorkerServices{*ports, prompt, sleeper, closeDelay, abort}) {}

  std::unique_ptr<PortLayer> ports;
  ThreadSleeper sleeper;
  NoCloseDelay closeDelay;
  PrintWorker worker;
};

}  // namespace

std::unique_ptr<ThreadJobRunner> makePosixPrintRunner(DeviceMap devices, UserPrompt& prompt,
                                                      PrintAbortState& printAbort) {
  PosixPortLayer::Options options;
  options.devices = std::move(devices);
  return makePosixPrintRunner(std::make_unique<PosixPortLayer>(std::move(options)), prompt,
                              printAbort);
}

std::unique_ptr<ThreadJobRunner> makePosixPrintRunner(std::unique_ptr<PortLayer> ports,
                                                      UserPrompt& prompt,
                                                      PrintAbortState& printAbort,
                                                      PendingJobs& pending) {
  auto station = std::make_shared<PosixPrintStation>(std::move(ports), prompt, printAbort);
  return std::make_unique<ThreadJobRunner>(
      [station](PrintJob job) { return station->worker.run(std::move(job)); }, pending);
}

}  // namespace tagwright
