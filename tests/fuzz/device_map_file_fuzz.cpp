// libFuzzer entry point over the saved device map file: any bytes as its
// text. A map that reads must write back as a text that reads as the same
// map, with each port once and in its canonical name; a map that does not
// read must say which line is wrong.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/app/device_map_file.h"
#include "core/transport/device_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tagwright::cli;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const tagwright::Result<DeviceList> map = parseDeviceMapFile(text, "devices");
  if (!map) {
    if (map.error().rfind("devices:", 0) != 0) __builtin_trap();
    return 0;
  }
  const DeviceList& entries = map.value();
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (!tagwright::isMappablePortName(it->first) || it->second.empty()) __builtin_trap();
    if (std::count_if(entries.begin(), entries.end(),
                      [&](const auto& e) { return e.first == it->first; }) != 1) {
      __builtin_trap();
    }
  }
  const tagwright::Result<DeviceList> again =
      parseDeviceMapFile(deviceMapFileText(entries), "devices");
  if (!again || again.value() != entries) __builtin_trap();
  return 0;
}
