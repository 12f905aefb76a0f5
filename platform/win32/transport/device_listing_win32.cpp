#include "platform/win32/transport/device_listing_win32.h"

#include <windows.h>
#include <setupapi.h>
#include <winspool.h>

#include <algorithm>
#include <string>

#include "core/text/utf8.h"
#include "core/transport/printer_port.h"
#include "platform/win32/unique_resource.h"

namespace tagwright {
namespace {

// GUID_DEVINTERFACE_USBPRINT: printers on the USB printing class driver.
constexpr GUID kUsbPrintInterfaceClass = {
    0x28D78FAD, 0x5A12, 0x11D1, {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};

using RegistryKey = win32::unique_resource<HKEY, &::RegCloseKey>;
using DeviceInfoSet = win32::unique_invalid_resource<HDEVINFO, &::SetupDiDestroyDeviceInfoList>;

std::string narrow(const wchar_t* text, std::size_t length) {
  return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The number of COMn, for sorting COM2 before COM10; 0 for another name.
int portNumber(const std::string& name) {
  if (name.size() < 4 || lower(name.substr(0, 3)) != "com") return 0;
  return std::atoi(name.c_str() + 3);
}

void addSerialPorts(std::vector<PrintableDevice>& devices) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &opened) !=
      ERROR_SUCCESS) {
    return;  // no serial port at all
  }
  const RegistryKey key(opened);
  std::vector<PrintableDevice> ports;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256;
    wchar_t value[64];
    DWORD valueBytes = sizeof value;
    DWORD type = 0;
    const LONG read = RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type,
                                    reinterpret_cast<BYTE*>(value), &valueBytes);
    if (read == ERROR_NO_MORE_ITEMS) break;
    if (read != ERROR_SUCCESS || type != REG_SZ) continue;
    const std::size_t units = std::min<std::size_t>(valueBytes / sizeof(wchar_t), 64);
    std::string port = narrow(value, wcsnlen(value, units));
    PrintableDevice device{PrintableDevice::Kind::Serial, port, narrow(name, nameLength)};
    const int number = portNumber(port);
    if (number >= 1 && number <= 9) device.openedAs = port;
    else
      device.accessProblem =
          "the component opens COM1..COM9 only; give the port a number up to 9 in the Device "
          "Manager";
    ports.push_back(std::move(device));
  }
  std::sort(ports.begin(), ports.end(), [](const PrintableDevice& a, const PrintableDevice& b) {
    return portNumber(a.node) < portNumber(b.node);
  });
  devices.insert(devices.end(), ports.begin(), ports.end());
}

// The device paths of one interface class that is present.
std::vector<std::string> interfacePaths(const GUID& interfaceClass) {
  std::vector<std::string> paths;
  const DeviceInfoSet set(SetupDiGetClassDevsA(&interfaceClass, nullptr, nullptr,
                                               DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!set) return paths;
  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof(data);
    if (!SetupDiEnumDeviceInterfaces(set.get(), nullptr, &interfaceClass, index, &data)) break;
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailA(set.get(), &data, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
    std::string buffer(required, '\0');
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!SetupDiGetDeviceInterfaceDetailA(set.get(), &data, detail, required, nullptr, nullptr)) {
      continue;
    }
    paths.emplace_back(detail->DevicePath);
  }
  return paths;
}

void addUsbPrinters(std::vector<PrintableDevice>& devices) {
  for (const std::string& path : interfacePaths(kUsbPrintInterfaceClass)) {
    PrintableDevice device{PrintableDevice::Kind::UsbPrinter, path, "USB printing device"};
    device.foundByUsbPort = lower(path).find(kUsbPrinterIds) != std::string::npos;
    if (device.foundByUsbPort) device.openedAs = "USB";
    devices.push_back(std::move(device));
  }
}

void addParallelPorts(std::vector<PrintableDevice>& devices) {
  for (int number = 1; number <= 3; ++number) {
    const std::string port = "LPT" + std::to_string(number);
    const win32::unique_file_handle handle(
        CreateFileA(port.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle && GetLastError() == ERROR_FILE_NOT_FOUND) continue;
    PrintableDevice device{PrintableDevice::Kind::Parallel, port, "parallel port"};
    device.openedAs = port;
    if (!handle)
      device.accessProblem = "cannot be opened now (error " + std::to_string(GetLastError()) +
                             "); another program may hold it";
    devices.push_back(std::move(device));
  }
}

}  // namespace

std::vector<PrintableDevice> listWindowsDevices() {
  std::vector<PrintableDevice> devices;
  addSerialPorts(devices);
  addUsbPrinters(devices);
  addParallelPorts(devices);
  return devices;
}

Result<std::vector<PrintServerQueue>> listWindowsPrinterQueues() {
  using Listed = Result<std::vector<PrintServerQueue>>;
  constexpr DWORD kFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0;
  DWORD count = 0;
  EnumPrintersW(kFlags, nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed);
  if (needed == 0) return std::vector<PrintServerQueue>{};
  if (!EnumPrintersW(kFlags, nullptr, 2, buffer.data(), needed, &needed, &count)) {
    return Listed::failure("the print spooler does not answer (error " +
                           std::to_string(GetLastError()) +
                           "); is the Print Spooler service running?");
  }
  std::vector<PrintServerQueue> queues;
  const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    const PRINTER_INFO_2W& printer = printers[i];
    PrintServerQueue queue;
    queue.name =
        printer.pPrinterName ? narrow(printer.pPrinterName, wcslen(printer.pPrinterName)) : "";
    if (printer.pDriverName)
      queue.description = narrow(printer.pDriverName, wcslen(printer.pDriverName));
    queue.accepting = (printer.Status & (PRINTER_STATUS_PAUSED | PRINTER_STATUS_OFFLINE)) == 0 &&
                      (printer.Attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE) == 0;
    queues.push_back(std::move(queue));
  }
  return queues;
}

}  // namespace tagwright
