#include "platform/posix/transport/usb_printers.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <system_error>

namespace tagwright {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kUsbDeviceInterfaceClass = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
constexpr std::string_view kPrinterInterfaceClass = "07";

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The number after "lp", for ordering lp2 before lp10; -1 for other names.
long printerNumber(const std::string& name) {
  if (name.size() < 3 || name.compare(0, 2, "lp") != 0) return -1;
  const std::string digits = name.substr(2);
  if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); })) {
    return -1;
  }
  return digits.size() > 9 ? -1 : std::stol(digits);
}

std::optional<UsbPrinterNode> printerNode(const fs::path& classEntry, const std::string& name,
                                          const fs::path& devRoot) {
  std::error_code error;
  const fs::path interfaceDir = fs::canonical(classEntry / "device", error);
  if (error) return std::nullopt;
  if (readSysfsAttribute(interfaceDir / "bInterfaceClass") != kPrinterInterfaceClass)
    return std::nullopt;
  const fs::path deviceDir = interfaceDir.parent_path();
  const auto vendor = readSysfsAttribute(deviceDir / "idVendor");
  const auto product = readSysfsAttribute(deviceDir / "idProduct");
  if (!vendor || !product) return std::nullopt;
  const std::string serial =
      readSysfsAttribute(deviceDir / "serial").value_or(deviceDir.filename().string());
  return UsbPrinterNode{usbDevicePath(*vendor, *product, serial),
                        (devRoot / "usb" / name).string()};
}

}  // namespace

std::optional<std::string> readSysfsAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return std::nullopt;
  const auto notBlank = [](unsigned char c) { return !std::isspace(c); };
  line.erase(line.begin(), std::find_if(line.begin(), line.end(), notBlank));
  line.erase(std::find_if(line.rbegin(), line.rend(), notBlank).base(), line.end());
  return line;
}

std::string usbDevicePath(std::string_view vendorId, std::string_view productId,
                          std::string_view serial) {
  std::string path = "usb#vid_";
  path += vendorId;
  path += "&pid_";
  path += productId;
  path += '#';
  // '#' separates the parts of the path, so it cannot appear inside one.
  for (char c : serial) path += c == '#' ? '_' : c;
  path += '#';
  path += kUsbDeviceInterfaceClass;
  return lowerCase(std::move(path));
}

std::vector<UsbPrinterNode> scanUsbPrinters(const fs::path& sysfsRoot, const fs::path& devRoot) {
  std::vector<std::pair<long, fs::path>> entries;
  std::error_code error;
  for (fs::directory_iterator it(sysfsRoot / "class" / "usbmisc", error), end; !error && it != end;
       it.increment(error)) {
    const long number = printerNumber(it->path().filename().string());
    if (number >= 0) entries.emplace_back(number, it->path());
  }
  std::sort(entries.begin(), entries.end());

  std::vector<UsbPrinterNode> printers;
  for (const auto& [number, entry] : entries) {
    if (auto node = printerNode(entry, entry.filename().string(), devRoot)) {
      printers.push_back(std::move(*node));
    }
  }
  return printers;
}

}  // namespace tagwright
