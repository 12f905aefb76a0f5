#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tagwright {

// Something this machine can print to, found in sysfs and /dev.
struct PrintableDevice {
  enum class Kind { Serial, UsbPrinter, Parallel };
  Kind kind;
  std::string node;     // the device node, e.g. /dev/ttyUSB0
  std::string details;  // what it is: adapter or printer ids, names, IEEE 1284 id
  // USB printers: the component's USB port finds this one by its ids.
  bool foundByUsbPort = false;
  // Empty when this user may open it; else why not and what to do.
  std::string accessProblem;
};

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
