#include "core/transport/device_map.h"

#include "core/text/ascii_case.h"

namespace tagwright {

DeviceMap::DeviceMap(Defaults defaults) {
  const bool windows = defaults == Defaults::Windows;
  for (int n = 1; n <= 3; ++n) {
    const std::string name = "LPT" + std::to_string(n);
    ports_[name] = windows ? name : "/dev/lp" + std::to_string(n - 1);
  }
  for (int n = 1; n <= 9; ++n) {
    const std::string name = "COM" + std::to_string(n);
    ports_[name] = windows ? name : "/dev/ttyS" + std::to_string(n - 1);
  }
}

bool DeviceMap::assign(std::string_view portName, std::string path) {
  const std::string name = asciiUpper(portName);
  if (name == "USB") {
    usbPrinter_ = std::move(path);
    return true;
  }
  auto it = ports_.find(name);
  if (it == ports_.end()) return false;
  it->second = std::move(path);
  return true;
}

std::optional<std::string> DeviceMap::pathFor(std::string_view portName) const {
  auto it = ports_.find(portName);
  if (it == ports_.end()) return std::nullopt;
  return it->second;
}

}  // namespace tagwright
