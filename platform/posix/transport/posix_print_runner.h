#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/transport/print_abort.h"
#include "core/transport/user_prompt.h"
#include "core/transport/device_map.h"
#include "platform/posix/transport/posix_port_layer.h"
#include "platform/posix/transport/thread_job_runner.h"

namespace tagwright {

// The print path of a POSIX host program: jobs run one after another on a
// thread of their own, through PrintWorker, over the ports of `devices`.
// Port failures are put to `prompt` (a FixedPrompt or a TerminalPrompt,
// which show the failure texts through the host's code pages); it must
// outlive the runner. The runner's destructor finishes the queued jobs;
// waitUntilIdle() and tally() tell the host when they have ended and how.
std::unique_ptr<ThreadJobRunner> makePosixPrintRunner(
    DeviceMap devices, UserPrompt& prompt, PrintAbortState& printAbort = processPrintAbort());

// The same over a port layer made by the caller (other sysfs or /dev roots,
// a system-call seam for tests).
std::unique_ptr<ThreadJobRunner> makePosixPrintRunner(
    std::unique_ptr<PortLayer> ports, UserPrompt& prompt,
    PrintAbortState& printAbort = processPrintAbort(), PendingJobs& pending = processPendingJobs());

// A job that the worker wrote but whose port did not deliver all of it.
struct FailedJob {
  std::uint64_t number = 0;     // in the order the jobs ran, from 1
  std::uint64_t size = 0;       // bytes of the job
  std::uint64_t delivered = 0;  // of them, the ones that reached the printer
  Delivery delivery;            // the port's own account (with a parallel port's test byte)
};
using FailedJobReport = std::function<void(const FailedJob&)>;
// Called on the runner's thread before each job, with the job's number.
using BeforeEachJob = std::function<void(PosixPortLayer&, std::uint64_t)>;

// Called on the runner's thread after each job that its port delivered
// whole, with the job's port index and number; what it returns is the
// job's outcome (a host that asks the printer whether the job printed).
using AfterEachJob = std::function<JobOutcome(std::int32_t, std::uint64_t)>;

// The print path of the command-line host: as above, and each job that the
// worker wrote is checked against what its port delivered. A job not
// delivered whole is reported to `onFailure` and counts as dropped; it is
// never sent again.
std::unique_ptr<ThreadJobRunner> makeCheckedPosixPrintRunner(
    std::unique_ptr<PosixPortLayer> ports, UserPrompt& prompt, PrintAbortState& printAbort,
    FailedJobReport onFailure, PendingJobs& pending = processPendingJobs(),
    BeforeEachJob beforeEachJob = {}, AfterEachJob afterEachJob = {});

// The bytes of a job of `jobSize` that reached the printer, when its port
// was given `delivery.offered` bytes in all (the job after any test bytes)
// and delivered the first `delivery.delivered` of them.
std::uint64_t jobBytesDelivered(const Delivery& delivery, std::uint64_t jobSize);

}  // namespace tagwright
