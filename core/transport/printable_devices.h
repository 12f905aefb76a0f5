#pragma once

#include <string>

namespace tagwright {

// Something this machine can print to: on Linux found in sysfs and /dev,
// on Windows in the registry and the device interfaces.
struct PrintableDevice {
  enum class Kind { Serial, UsbPrinter, Parallel };
  Kind kind;
  std::string node;     // the device node, e.g. /dev/ttyUSB0, or COM3 on Windows
  std::string details;  // what it is: adapter or printer ids, names, IEEE 1284 id
  // USB printers: the component's USB port finds this one by its ids.
  bool foundByUsbPort = false;
  // Empty when this user may open it; else why not and what to do.
  std::string accessProblem = {};
  // Windows: the port the component opens it as by itself (COM3, LPT1),
  // where --device has nothing to add; empty elsewhere.
  std::string openedAs = {};
};

// A printer queue (of a print server, or of Windows), as `tagwright
// devices` lists it.
struct PrintServerQueue {
  std::string name;
  std::string description;  // the queue's own text ("printer-info"), may be empty
  bool accepting = true;    // takes jobs now
};

}  // namespace tagwright
