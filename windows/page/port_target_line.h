#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win32/transport/device_entries.h"

namespace tagwright::com {

// The read-only line under the port list: where the selected port's jobs go
// when the device map sends them elsewhere ("LPT1 = tcp://10.0.0.5:9100"),
// empty when the port is the local one. `entry` is the port's entry in the
// user's or the machine's map, the user's winning.
std::wstring portTargetLine(const std::string& portName, const std::optional<DeviceEntry>& entry);

// The same for the port with list index `portIndex` (LPT1..LPT3, COM1..COM9,
// USB), its entry read from the registry now.
std::wstring portTargetLine(std::int32_t portIndex);

}  // namespace tagwright::com
