#pragma once

#include <vector>

#include "core/transport/printable_devices.h"
#include "core/util/result.h"

namespace tagwright {

// The serial ports Windows knows (the registry's SERIALCOMM key), the USB
// printers (the USB printing device interface, with the one the component's
// USB port finds by its ids marked) and the parallel ports (LPT1..LPT3 that
// open), in that order.
std::vector<PrintableDevice> listWindowsDevices();

// The printer queues of this machine and the shared ones it is connected
// to, as their names are given to printer: targets; or why they cannot be
// listed.
Result<std::vector<PrintServerQueue>> listWindowsPrinterQueues();

}  // namespace tagwright
