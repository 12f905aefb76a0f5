#include "platform/win32/transport/device_entries.h"

#include <utility>

#include "core/text/ascii_case.h"
#include "core/text/utf8.h"
#include "platform/win32/wide_text.h"

namespace tagwright {
void ProcessDeviceMap::replace(std::map<std::string, std::string> entries,
                               NetworkTimeouts timeouts) {
  std::map<std::string, std::string, std::less<>> upper;
  for (auto& [port, target] : entries) upper[asciiUpper(port)] = std::move(target);
  std::lock_guard<std::mutex> guard(lock_);
  entries_ = std::move(upper);
  timeouts_ = timeouts;
}

std::optional<std::string> ProcessDeviceMap::entryFor(std::string_view portName) const {
  std::lock_guard<std::mutex> guard(lock_);
  const auto it = entries_.find(asciiUpper(portName));
  if (it == entries_.end()) return std::nullopt;
  return it->second;
}

NetworkTimeouts ProcessDeviceMap::timeouts() const {
  std::lock_guard<std::mutex> guard(lock_);
  return timeouts_;
}

ProcessDeviceMap& processDeviceMap() {
  static ProcessDeviceMap map;
  return map;
}

std::optional<DeviceEntry> registryDeviceEntry(HKEY hive, std::string_view portName) {
  const std::wstring value = win32::utf8ToWide(portName);
  // REG_SZ, or REG_EXPAND_SZ with its variables expanded (which this flag
  // takes as REG_SZ); anything else is an entry that cannot be read.
  constexpr DWORD kStrings = RRF_RT_REG_SZ;
  const std::string where =
      std::string(hive == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER") +
      "\\Software\\Tagwright\\Devices\\" + std::string(portName);
  DWORD size = 0;
  LSTATUS status =
      RegGetValueW(hive, kDevicesRegistryKey, value.c_str(), kStrings, nullptr, nullptr, &size);
  for (int attempt = 0; attempt < 4 && status == ERROR_SUCCESS; ++attempt) {
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD room = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    status = RegGetValueW(hive, kDevicesRegistryKey, value.c_str(), kStrings, nullptr, text.data(),
                          &room);
    if (status == ERROR_MORE_DATA) {
      size = room;  // the value grew meanwhile
      status = ERROR_SUCCESS;
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    text.resize(wcsnlen(text.c_str(), text.size()));
    return DeviceEntry{
        toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size())), 0,
        where};
  }
  if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
  return DeviceEntry{{}, static_cast<std::uint32_t>(status), where};
}

std::optional<DeviceEntry> findDeviceEntry(const ProcessDeviceMap& process,
                                           std::string_view portName) {
  if (std::optional<std::string> text = process.entryFor(portName)) {
    return DeviceEntry{std::move(*text), 0, "the map of this program"};
  }
  if (auto user = registryDeviceEntry(HKEY_CURRENT_USER, portName)) return user;
  return registryDeviceEntry(HKEY_LOCAL_MACHINE, portName);
}

}  // namespace tagwright
