#include "platform/posix/transport/device_listing.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <system_error>

#include "core/transport/printer_port.h"
#include "platform/posix/transport/usb_printers.h"

namespace tagwright {
namespace fs = std::filesystem;
namespace {

// The entries of a sysfs class folder whose names start with one of
// `prefixes`, ordered as people number them (ttyUSB2 before ttyUSB10).
std::vector<std::string> classEntries(const fs::path& folder,
                                      std::initializer_list<std::string_view> prefixes) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    for (std::string_view prefix : prefixes) {
      if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
        names.push_back(name);
        break;
      }
    }
  }
  auto key = [](const std::string& name) {
    const std::size_t digits = name.find_first_of("0123456789");
    const std::string stem = name.substr(0, digits);
    const std::string number = digits == std::string::npos ? "" : name.substr(digits);
    return std::make_pair(stem, std::make_pair(number.size(), number));
  };
  std::sort(names.begin(), names.end(),
            [&](const std::string& a, const std::string& b) { return key(a) < key(b); });
  return names;
}

// The USB device (the folder with idVendor) that `classEntry`'s device
// belongs to, walking up from its interface; nothing for other buses.
std::optional<fs::path> usbDeviceOf(const fs::path& classEntry) {
  std::error_code error;
  fs::path dir = fs::canonical(classEntry / "device", error);
  if (error) return std::nullopt;
  for (int up = 0; up < 4 && !dir.empty() && dir != dir.root_path(); ++up) {
    if (fs::exists(dir / "idVendor", error)) return dir;
    dir = dir.parent_path();
  }
  return std::nullopt;
}

std::string idsOf(const fs::path& usbDevice) {
  std::string text = "USB " + readSysfsAttribute(usbDevice / "idVendor").value_or("?") + ":" +
                     readSysfsAttribute(usbDevice / "idProduct").value_or("?");
  const std::string maker = readSysfsAttribute(usbDevice / "manufacturer").value_or("");
  const std::string product = readSysfsAttribute(usbDevice / "product").value_or("");
  if (!maker.empty() || !product.empty()) {
    text += " (" + maker + (maker.empty() || product.empty() ? "" : " ") + product + ")";
  }
  return text;
}

std::string groupOf(const std::string& node) {
  struct stat info {};
  if (::stat(node.c_str(), &info) != 0) return {};
  const group* owner = ::getgrgid(info.st_gid);
  return owner != nullptr ? owner->gr_name : std::to_string(info.st_gid);
}

// Why a node cannot be used, and the fix.
std::string accessProblem(const std::string& node, int error) {
  if (error == 0) return {};
  if (error == EACCES || error == EPERM) {
    const std::string group = groupOf(node);
    if (!group.empty() && group != "root") {
      return "not allowed to open it: join the " + group + " group (sudo usermod -aG " + group +
             " $USER) and log in again";
    }
    return "not allowed to open it: ask the administrator for access";
  }
  if (error == EBUSY) return "in use by another program";
  return std::string("cannot be opened: ") + std::strerror(error);
}

PrintableDevice device(PrintableDevice::Kind kind, std::string node, std::string details,
                       const AccessCheck& access) {
  PrintableDevice found{kind, std::move(node), std::move(details), false, {}};
  found.accessProblem = accessProblem(found.node, access(found.node));
  return found;
}

void addSerialPorts(const fs::path& sysfs, const fs::path& dev, const AccessCheck& access,
                    std::vector<PrintableDevice>& out) {
  const fs::path ttyClass = sysfs / "class" / "tty";
  for (const std::string& name : classEntries(ttyClass, {"ttyS", "ttyUSB", "ttyACM"})) {
    const fs::path entry = ttyClass / name;
    std::error_code error;
    if (!fs::exists(entry / "device", error)) continue;  // no hardware behind it
    std::string details;
    if (const auto usb = usbDeviceOf(entry)) {
      details = "USB serial adapter, " + idsOf(*usb);
    } else {
      // The kernel makes ttyS entries for every possible 8250 port; type 0
      // means no UART answers there.
      if (readSysfsAttribute(entry / "type").value_or("") == "0") continue;
      details = "serial port";
    }
    out.push_back(device(PrintableDevice::Kind::Serial, (dev / name).string(), details, access));
  }
}

void addUsbPrinters(const fs::path& sysfs, const fs::path& dev, const AccessCheck& access,
                    std::vector<PrintableDevice>& out) {
  // The same search the USB port makes, so that the mark below is its own.
  const std::vector<UsbPrinterNode> found = scanUsbPrinters(sysfs, dev);
  const fs::path usbmisc = sysfs / "class" / "usbmisc";
  for (const std::string& name : classEntries(usbmisc, {"lp"})) {
    const std::string node = (dev / "usb" / name).string();
    const auto known = std::find_if(found.begin(), found.end(),
                                    [&](const UsbPrinterNode& p) { return p.node == node; });
    if (known == found.end()) continue;  // not a printer-class interface
    std::string details = "USB printer";
    if (const auto usb = usbDeviceOf(usbmisc / name)) {
      details += ", " + idsOf(*usb);
      if (const auto serial = readSysfsAttribute(*usb / "serial")) details += ", serial " + *serial;
    }
    if (const auto id = readSysfsAttribute(usbmisc / name / "device" / "ieee1284_id");
        id && !id->empty()) {
      details += ", IEEE 1284 id " + *id;
    }
    PrintableDevice printer = device(PrintableDevice::Kind::UsbPrinter, node, details, access);
    printer.foundByUsbPort = known->devicePath.find(kUsbPrinterIds) != std::string::npos;
    out.push_back(std::move(printer));
  }
}

void addParallelPorts(const fs::path& sysfs, const fs::path& dev, const AccessCheck& access,
                      std::vector<PrintableDevice>& out) {
  for (const std::string& name : classEntries(sysfs / "class" / "printer", {"lp"})) {
    out.push_back(
        device(PrintableDevice::Kind::Parallel, (dev / name).string(), "parallel port", access));
  }
}

}  // namespace

int accessForPrinting(const std::string& node) {
  return ::access(node.c_str(), R_OK | W_OK) == 0 ? 0 : errno;
}

std::vector<PrintableDevice> listPrintableDevices(const fs::path& sysfsRoot,
                                                  const fs::path& devRoot,
                                                  const AccessCheck& access) {
  std::vector<PrintableDevice> devices;
  addSerialPorts(sysfsRoot, devRoot, access, devices);
  addUsbPrinters(sysfsRoot, devRoot, access, devices);
  addParallelPorts(sysfsRoot, devRoot, access, devices);
  return devices;
}

}  // namespace tagwright
