#pragma once

#include "platform/win32/unique_resource.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "core/transport/network_timeouts.h"
#include "core/util/result.h"

namespace tagwright {

// The registry key, under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, that
// holds the device map: one string value per port name, the target as text.
inline constexpr wchar_t kDevicesRegistryKey[] = L"Software\\Tagwright\\Devices";

// What the map says about one port, found in this order: the map that the
// program hosting the component handed it for its own process, the user's
// entry, the machine's entry.
struct DeviceEntry {
  std::string text;         // the target as written (UTF-8), when read
  std::uint32_t error = 0;  // nonzero: an entry is there but cannot be read
  std::string where;        // where it was found, for messages
};

// A map for this process only: it wins over the registry and never changes
// it. Safe to use from several threads.
class ProcessDeviceMap {
 public:
  // Replaces the whole map. Port names are kept in capitals.
  void replace(std::map<std::string, std::string> entries, NetworkTimeouts timeouts);
  std::optional<std::string> entryFor(std::string_view portName) const;
  NetworkTimeouts timeouts() const;

 private:
  mutable std::mutex lock_;
  std::map<std::string, std::string, std::less<>> entries_;
  NetworkTimeouts timeouts_;
};

// The process map of this module (the component's, in the DLL).
ProcessDeviceMap& processDeviceMap();

// The entry for `portName` (LPT1, COM3, USB), or nothing when neither the
// process map nor the registry has one.
std::optional<DeviceEntry> findDeviceEntry(const ProcessDeviceMap& process,
                                           std::string_view portName);

// One registry hive's entry: nothing when the key or the value is missing.
std::optional<DeviceEntry> registryDeviceEntry(HKEY hive, std::string_view portName);

}  // namespace tagwright
