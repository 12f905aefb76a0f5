#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tagwright {

// A USB printer known to the kernel: the device path under which the port
// logic looks for it, and the device node to open.
struct UsbPrinterNode {
  std::string devicePath;
  std::string node;
};

// The first line of a sysfs attribute file, without surrounding blanks;
// nothing when it cannot be read.
std::optional<std::string> readSysfsAttribute(const std::filesystem::path& file);

// The device path of a USB device in the form the system uses for the USB
// device interface class, all in lower case:
// "usb#vid_XXXX&pid_XXXX#SERIAL#{a5dcbf10-6530-11d2-901f-00c04fb951ed}".
std::string usbDevicePath(std::string_view vendorId, std::string_view productId,
                          std::string_view serial);

// The USB printer-class interfaces that the kernel's printer driver serves
// (<sysfs>/class/usbmisc/lpN, device node <dev>/usb/lpN), in the order of N.
// A device without a serial number is named by its place on the bus.
std::vector<UsbPrinterNode> scanUsbPrinters(const std::filesystem::path& sysfsRoot = "/sys",
                                            const std::filesystem::path& devRoot = "/dev");

}  // namespace tagwright
