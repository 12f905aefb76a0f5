// libFuzzer entry point over a device map's target (tcp://HOST[:PORT],
// printer:NAME, file:PATH) and its port name: any bytes. A target that
// reads must write back, by text(), as one that reads the same; a port
// name the map accepts is a known one in any letter case.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/transport/device_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tagwright;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const Result<DeviceTarget> target = parseDeviceTarget(text)) {
    const DeviceTarget& read = target.value();
    if (read.kind != DeviceTarget::Kind::Tcp && read.name.empty()) __builtin_trap();
    const Result<DeviceTarget> again = parseDeviceTarget(read.text());
    if (!again || !(again.value() == read)) __builtin_trap();
  } else if (target.error().empty()) {
    __builtin_trap();
  }
  if (isMappablePortName(text)) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const bool known =
        upper == "USB" || upper == "LPT1" || upper == "LPT2" || upper == "LPT3" ||
        (upper.size() == 4 && upper.rfind("COM", 0) == 0 && upper[3] >= '1' && upper[3] <= '9');
    if (!known) __builtin_trap();
  }
  return 0;
}
