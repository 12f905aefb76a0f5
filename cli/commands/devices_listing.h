#pragma once

#include <string>
#include <vector>

#include "core/util/result.h"
#include "core/transport/printable_devices.h"

namespace tagwright::cli {

// Whose printer queues a listing shows: a print server's (cups:) or
// Windows' own (printer:).
enum class QueueOwner { PrintServer, Windows };

// What `tagwright devices` shows: every device this machine can print to,
// with the --device text that puts it behind a port (or the port the
// component opens it as by itself), what keeps the user from opening it,
// and the printer queues (or why there are none).
std::string devicesListing(const std::vector<PrintableDevice>& devices,
                           const Result<std::vector<PrintServerQueue>>& queues,
                           QueueOwner owner = QueueOwner::PrintServer);

}  // namespace tagwright::cli
