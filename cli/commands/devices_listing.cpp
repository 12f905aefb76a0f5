#include "cli/commands/devices_listing.h"

namespace tagwright::cli {
namespace {

struct Section {
  PrintableDevice::Kind kind;
  const char* title;
};

constexpr Section kSections[] = {
    {PrintableDevice::Kind::Serial, "Serial ports"},
    {PrintableDevice::Kind::UsbPrinter, "USB printers"},
    {PrintableDevice::Kind::Parallel, "Parallel ports"},
};

// The port a device is suggested behind: serial ports as COM1, COM2, ...
// (up to COM9), parallel ports as LPT1..LPT3, USB printers as USB.
std::string portFor(PrintableDevice::Kind kind, int number) {
  switch (kind) {
    case PrintableDevice::Kind::Serial: return number <= 9 ? "COM" + std::to_string(number) : "";
    case PrintableDevice::Kind::Parallel: return number <= 3 ? "LPT" + std::to_string(number) : "";
    case PrintableDevice::Kind::UsbPrinter: return "USB";
  }
  return "";
}

}  // namespace

std::string devicesListing(const std::vector<PrintableDevice>& devices,
                           const Result<std::vector<PrintServerQueue>>& queues, QueueOwner owner) {
  // Windows' device map takes network printers, queues and files; the
  // component opens its local ports by their own names.
  const bool windows = owner == QueueOwner::Windows;
  std::string out;
  for (const Section& section : kSections) {
    out += std::string(section.title) + ":\n";
    int number = 0;
    for (const PrintableDevice& device : devices) {
      if (device.kind != section.kind) continue;
      const std::string port = portFor(device.kind, ++number);
      out += "  " + device.node + "  " + device.details + "\n";
      if (!device.openedAs.empty()) {
        out += "    the component opens it as " + device.openedAs + ", without --device\n";
      } else if (!windows && !port.empty()) {
        out += "    --device " + port + "=" + device.node + "\n";
      }
      if (device.foundByUsbPort) {
        out += "    the USB port finds this printer by its ids, without --device\n";
      }
      if (!device.accessProblem.empty()) out += "    " + device.accessProblem + "\n";
    }
    if (number == 0) out += "  none\n";
  }
  const std::string target = windows ? "printer:" : "cups:";
  out += windows ? "Windows printer queues" : "Print-server queues";
  out += " (any port name can stand before =" + target + "):\n";
  if (!queues) {
    out += "  none: " + queues.error() + "\n";
  } else if (queues.value().empty()) {
    out += windows ? "  none: this machine has no printer queues\n"
                   : "  none: the print server has no queues\n";
  } else {
    for (const PrintServerQueue& queue : queues.value()) {
      out += "  " + queue.name;
      if (!queue.description.empty()) out += "  " + queue.description;
      out += "\n    --device COM1=" + target + queue.name + "\n";
      if (!queue.accepting) {
        out += windows ? "    is paused or offline now (see its queue in Printers)\n"
                       : "    does not accept jobs now (cupsaccept " + queue.name + ")\n";
      }
    }
  }
  out += "Network printers: --device COM1=tcp://HOST[:PORT] (port 9100 by default)\n";
  return out;
}

}  // namespace tagwright::cli
