#include "platform/posix/transport/posix_print_runner.h"

#include <algorithm>
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

// The same, checking each job against what its port delivered.
struct CheckedPrintStation {
  CheckedPrintStation(std::unique_ptr<PosixPortLayer> layer, UserPrompt& prompt,
                      PrintAbortState& abort, FailedJobReport report, BeforeEachJob before,
                      AfterEachJob after)
      : ports(std::move(layer)),
        worker(PrintWorkerServices{*ports, prompt, sleeper, closeDelay, abort}),
        onFailure(std::move(report)),
        beforeEachJob(std::move(before)),
        afterEachJob(std::move(after)) {}

  JobOutcome run(PrintJob job) {
    const std::uint64_t number = ++jobsRun;
    const std::uint64_t size = job.text.size();
    const std::int32_t port = job.port;
    if (beforeEachJob) beforeEachJob(*ports, number);
    const JobOutcome outcome = worker.run(std::move(job));
    // The last close is the one of this job's port; earlier ones were
    // openings that failed and were answered with Retry.
    std::vector<Delivery> deliveries = ports->takeDeliveries();
    if (outcome != JobOutcome::Written || deliveries.empty() || deliveries.back().complete()) {
      if (outcome == JobOutcome::Written && afterEachJob) return afterEachJob(port, number);
      return outcome;
    }
    FailedJob failed;
    failed.number = number;
    failed.size = size;
    failed.delivered = jobBytesDelivered(deliveries.back(), size);
    failed.delivery = std::move(deliveries.back());
    if (onFailure) onFailure(failed);
    return JobOutcome::Dropped;
  }

  std::unique_ptr<PosixPortLayer> ports;
  ThreadSleeper sleeper;
  NoCloseDelay closeDelay;
  PrintWorker worker;
  FailedJobReport onFailure;
  BeforeEachJob beforeEachJob;
  AfterEachJob afterEachJob;
  std::uint64_t jobsRun = 0;  // only the runner's thread counts
};

}  // namespace

std::uint64_t jobBytesDelivered(const Delivery& delivery, std::uint64_t jobSize) {
  const std::uint64_t before = delivery.offered > jobSize ? delivery.offered - jobSize : 0;
  return delivery.delivered > before ? std::min(delivery.delivered - before, jobSize) : 0;
}

std::unique_ptr<ThreadJobRunner> makeCheckedPosixPrintRunner(
    std::unique_ptr<PosixPortLayer> ports, UserPrompt& prompt, PrintAbortState& printAbort,
    FailedJobReport onFailure, PendingJobs& pending, BeforeEachJob beforeEachJob,
    AfterEachJob afterEachJob) {
  auto station = std::make_shared<CheckedPrintStation>(
      std::move(ports), prompt, printAbort, std::move(onFailure), std::move(beforeEachJob),
      std::move(afterEachJob));
  return std::make_unique<ThreadJobRunner>(
      [station](PrintJob job) { return station->run(std::move(job)); }, pending);
}

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
