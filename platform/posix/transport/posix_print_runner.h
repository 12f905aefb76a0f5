#pragma once

#include <memory>

#include "core/transport/print_abort.h"
#include "core/transport/user_prompt.h"
#include "platform/posix/transport/device_map.h"
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

}  // namespace tagwright
