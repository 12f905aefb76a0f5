#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/transport/printable_devices.h"

namespace tagwright {

// Whether the user may open `node` for reading and writing: 0, or the
// errno of the refusal.
using AccessCheck = std::function<int(const std::string& node)>;
int accessForPrinting(const std::string& node);

// The serial ports (with the ids of USB serial adapters), the USB printers
// (with their ids, serial number and IEEE 1284 device id) and the parallel
// ports known to the kernel, in that order.
std::vector<PrintableDevice> listPrintableDevices(const std::filesystem::path& sysfsRoot = "/sys",
                                                  const std::filesystem::path& devRoot = "/dev",
                                                  const AccessCheck& access = accessForPrinting);

}  // namespace tagwright
