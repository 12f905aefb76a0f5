#include "windows/page/port_target_line.h"

#include "core/text/utf8.h"
#include "core/transport/device_target.h"
#include "core/transport/printer_port.h"
#include "platform/win32/wide_text.h"

namespace tagwright::com {
std::wstring portTargetLine(const std::string& portName, const std::optional<DeviceEntry>& entry) {
  if (!entry) return {};
  const std::wstring port = win32::utf8ToWide(portName);
  if (entry->error != 0) {
    // The worker reports such an entry when it opens the port; the page
    // says so beforehand.
    return port + L": запись в реестре не читается (ошибка " + std::to_wstring(entry->error) + L")";
  }
  const Result<DeviceTarget> target = parseDeviceTarget(entry->text);
  if (!target)
    return port + L" = " + win32::utf8ToWide(entry->text) + L" (не tcp://, printer: или file:)";
  return port + L" = " + win32::utf8ToWide(target.value().text());
}

std::wstring portTargetLine(std::int32_t portIndex) {
  if (portIndex < 0 || portIndex > kUsbPortIndex) return {};
  const std::string port = portIndex == kUsbPortIndex ? "USB" : portNameForIndex(portIndex);
  // A program's own map is for its own jobs; the page shows the saved ones.
  const ProcessDeviceMap none;
  return portTargetLine(port, findDeviceEntry(none, port));
}

}  // namespace tagwright::com
