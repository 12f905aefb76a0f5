#pragma once

#include <windows.h>

#include <memory>

#include "core/transport/print_job.h"
#include "platform/win32/transport/mapped_port.h"

namespace tagwright {

// The print path of the component: jobs run on the system thread pool, one
// after another in hand-off order, through PrintWorker over the Windows
// ports; port failures are asked about with a message box captioned with
// the name of `module` (the component's own module, whose file name the
// user sees). The abort state and the pending-jobs count are the
// process-wide ones, which the module's unload check consults. `mapped`
// is the device map the ports consult (none when null); it must outlive
// every job.
std::unique_ptr<JobRunner> makeWin32PrintRunner(HMODULE module, MappedPorts* mapped = nullptr);

}  // namespace tagwright
