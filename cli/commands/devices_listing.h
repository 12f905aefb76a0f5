#pragma once

#include <string>
#include <vector>

#include "core/util/result.h"
#include "platform/posix/transport/device_listing.h"
#include "platform/posix/transport/print_server.h"

namespace tagwright::cli {

// What `tagwright devices` shows: every device this machine can print to,
// with the --device text that puts it behind a port, what keeps the user
// from opening it, and the print server's queues (or why there are none).
std::string devicesListing(const std::vector<PrintableDevice>& devices,
                           const Result<std::vector<PrintServerQueue>>& queues);

}  // namespace tagwright::cli
