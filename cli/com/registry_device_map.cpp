#include "cli/com/registry_device_map.h"

#include <algorithm>
#include <iterator>

#include "cli/app/option_values.h"
#include "core/text/utf8.h"
#include "core/transport/device_target.h"
#include "platform/win32/transport/device_entries.h"
#include "platform/win32/unique_resource.h"
#include "platform/win32/wide_text.h"

namespace tagwright::cli {
namespace {

using RegistryKey = win32::unique_resource<HKEY, &::RegCloseKey>;

std::string errorText(LSTATUS status) {
  return "the registry key HKEY_CURRENT_USER\\Software\\Tagwright\\Devices cannot be changed (" +
         std::to_string(status) + ")";
}

// The names of the key's values that are port names, in the key's order.
Result<std::vector<std::string>> portValueNames(HKEY key) {
  std::vector<std::string> names;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD length = static_cast<DWORD>(std::size(name));
    const LSTATUS status =
        RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_MORE_DATA) continue;  // too long for a port name
    if (status != ERROR_SUCCESS)
      return Result<std::vector<std::string>>::failure(errorText(status));
    const std::string text =
        toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(name), length));
    if (std::optional<std::string> port = canonicalPortName(text)) names.push_back(*port);
  }
  return names;
}

}  // namespace

std::string RegistryDeviceMapStore::where() const {
  return "HKEY_CURRENT_USER\\Software\\Tagwright\\Devices";
}

Result<DeviceList> RegistryDeviceMapStore::read() const {
  HKEY opened = nullptr;
  const LSTATUS status =
      RegOpenKeyExW(HKEY_CURRENT_USER, kDevicesRegistryKey, 0, KEY_QUERY_VALUE, &opened);
  if (status == ERROR_FILE_NOT_FOUND) return DeviceList{};
  if (status != ERROR_SUCCESS) return Result<DeviceList>::failure(errorText(status));
  const RegistryKey key(opened);
  Result<std::vector<std::string>> names = portValueNames(key.get());
  if (!names) return Result<DeviceList>::failure(names.error());
  DeviceList entries;
  for (const std::string& port : names.value()) {
    const std::optional<DeviceEntry> entry = registryDeviceEntry(HKEY_CURRENT_USER, port);
    if (!entry) continue;
    // Shown as the component sees it: an entry that is no string is one
    // its prompt reports.
    entries.emplace_back(
        port, entry->error == 0 ? entry->text
                                : "(no string value: error " + std::to_string(entry->error) + ")");
  }
  return entries;
}

Status RegistryDeviceMapStore::write(const DeviceList& entries) {
  HKEY created = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kDevicesRegistryKey, 0, nullptr, 0,
                                   KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &created, nullptr);
  if (status != ERROR_SUCCESS) return Status::failure(errorText(status));
  const RegistryKey key(created);
  Result<std::vector<std::string>> names = portValueNames(key.get());
  if (!names) return Status::failure(names.error());
  for (const std::string& port : names.value()) {
    const bool kept = std::any_of(entries.begin(), entries.end(),
                                  [&](const auto& entry) { return entry.first == port; });
    if (kept) continue;
    status = RegDeleteValueW(key.get(), win32::utf8ToWide(port).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      return Status::failure(errorText(status));
    }
  }
  for (const auto& [port, target] : entries) {
    const std::wstring value = win32::utf8ToWide(target);
    status = RegSetValueExW(key.get(), win32::utf8ToWide(port).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) return Status::failure(errorText(status));
  }
  return Status::success();
}

Status RegistryDeviceMapStore::accepts(const std::string& target) const {
  if (Result<DeviceTarget> parsed = parseDeviceTarget(target); !parsed) {
    return Status::failure(parsed.error());
  }
  return Status::success();
}

}  // namespace tagwright::cli
