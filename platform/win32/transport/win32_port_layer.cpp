#include "platform/win32/transport/win32_port_layer.h"

#include <windows.h>
#include <setupapi.h>

#include <cstddef>
#include <cstring>
#include <limits>

#include "core/transport/device_map.h"
#include "platform/win32/unique_resource.h"

namespace tagwright {
namespace {

// GUID_DEVINTERFACE_USB_DEVICE, written here to spare the DDK header.
constexpr GUID kUsbDeviceInterfaceClass = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

// SetupAPI checks the detail's size field against the packing it was built
// with: 5 bytes on 32-bit Windows, 8 on 64-bit.
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == (sizeof(void*) == 8 ? 8 : 5));

HANDLE handleOf(PortHandle port) { return reinterpret_cast<HANDLE>(port); }

// The set of present devices of one interface class, destroyed on every way out.
using DeviceInfoSet = win32::unique_invalid_resource<HDEVINFO, &::SetupDiDestroyDeviceInfoList>;

DeviceInfoSet presentDevices(const GUID& interfaceClass) {
  return DeviceInfoSet(SetupDiGetClassDevsA(&interfaceClass, nullptr, nullptr,
                                            DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
}

void freeHeapBlock(void* block) { HeapFree(GetProcessHeap(), 0, block); }
using HeapBlock = win32::unique_resource<void*, &freeHeapBlock>;

// The device path of one interface, or nothing when its detail cannot be had.
bool readDevicePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& interfaceData, std::string& path) {
  DWORD required = 0;
  SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, nullptr, 0, &required, nullptr);
  if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) return false;
  HeapBlock block(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, required));
  if (!block) return false;
  auto* detail = static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(block.get());
  // The size of the fixed part, as SetupAPI requires (not the buffer's).
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
  SP_DEVINFO_DATA deviceData{};
  deviceData.cbSize = sizeof(deviceData);
  if (!SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, detail, required, nullptr,
                                        &deviceData)) {
    return false;
  }
  // The path ends at its zero or at the end of the buffer, whichever is first.
  const std::size_t room = required - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
  path.assign(detail->DevicePath, strnlen(detail->DevicePath, room));
  return true;
}

bool isLptOrComName(const std::string& name) {
  return name.size() == 4 && (name.rfind("LPT", 0) == 0 || name.rfind("COM", 0) == 0);
}

}  // namespace

MappedPort* Win32PortLayer::mappedPortOf(PortHandle port) {
  if (mapped_ == nullptr) return nullptr;
  std::lock_guard<std::mutex> guard(lock_);
  const auto it = open_.find(port);
  return it == open_.end() ? nullptr : it->second.get();
}

bool Win32PortLayer::isLocalPort(PortHandle port) { return mappedPortOf(port) == nullptr; }

PortHandle Win32PortLayer::open(const std::string& name, std::uint32_t& error) {
  if (mapped_ != nullptr) {
    const bool mappedUsb = name == DeviceMap::kMappedUsbDevicePath;
    if (mappedUsb || isLptOrComName(name)) {
      MappedOpen opened = mapped_->open(mappedUsb ? std::string("USB") : name);
      if (opened.mapped) {
        if (!opened.port) {
          error = opened.error;
          return kInvalidPort;
        }
        const auto handle = reinterpret_cast<PortHandle>(opened.port.get());
        std::lock_guard<std::mutex> guard(lock_);
        open_[handle] = std::move(opened.port);
        return handle;
      }
    }
  }
  HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return kInvalidPort;
  }
  return reinterpret_cast<PortHandle>(handle);
}

bool Win32PortLayer::getTimeouts(PortHandle port, CommTimeouts& timeouts) {
  // A mapped port keeps the time-outs of its own kind of target.
  if (mappedPortOf(port)) return true;
  COMMTIMEOUTS native{};
  if (!GetCommTimeouts(handleOf(port), &native)) return false;
  timeouts = CommTimeouts{native.ReadIntervalTimeout, native.ReadTotalTimeoutMultiplier,
                          native.ReadTotalTimeoutConstant, native.WriteTotalTimeoutMultiplier,
                          native.WriteTotalTimeoutConstant};
  return true;
}

bool Win32PortLayer::setTimeouts(PortHandle port, const CommTimeouts& t) {
  if (mappedPortOf(port)) return true;
  COMMTIMEOUTS native{t.readIntervalTimeout, t.readTotalTimeoutMultiplier,
                      t.readTotalTimeoutConstant, t.writeTotalTimeoutMultiplier,
                      t.writeTotalTimeoutConstant};
  return SetCommTimeouts(handleOf(port), &native) != FALSE;
}

bool Win32PortLayer::getModemStatus(PortHandle port, std::uint32_t& status) {
  if (mappedPortOf(port)) return false;
  DWORD native = 0;
  if (!GetCommModemStatus(handleOf(port), &native)) return false;
  status = native;
  return true;
}

bool Win32PortLayer::getCommState(PortHandle port, CommState& state) {
  if (mappedPortOf(port)) return false;
  DCB dcb{};
  dcb.DCBlength = sizeof(dcb);
  if (!GetCommState(handleOf(port), &dcb)) return false;
  state.baudRate = dcb.BaudRate;
  state.byteSize = dcb.ByteSize;
  state.parity = dcb.Parity;
  state.stopBits = dcb.StopBits;
  state.native = dcb;
  return true;
}

bool Win32PortLayer::setupQueues(PortHandle port, std::uint32_t inputSize,
                                 std::uint32_t outputSize) {
  if (mappedPortOf(port)) return false;
  return SetupComm(handleOf(port), inputSize, outputSize) != FALSE;
}

bool Win32PortLayer::setCommState(PortHandle port, const CommState& state) {
  if (mappedPortOf(port)) return false;
  // A state that could not be read is written from an empty record, which
  // the system refuses for any real port.
  DCB dcb{};
  if (const DCB* found = std::any_cast<DCB>(&state.native)) dcb = *found;
  dcb.DCBlength = sizeof(dcb);
  dcb.BaudRate = state.baudRate;
  dcb.ByteSize = state.byteSize;
  dcb.Parity = state.parity;
  dcb.StopBits = state.stopBits;
  return SetCommState(handleOf(port), &dcb) != FALSE;
}

bool Win32PortLayer::setCommMask(PortHandle port, std::uint32_t mask) {
  if (mappedPortOf(port)) return false;
  return SetCommMask(handleOf(port), mask) != FALSE;
}

bool Win32PortLayer::purge(PortHandle port, std::uint32_t flags) {
  if (mappedPortOf(port)) return false;
  return PurgeComm(handleOf(port), flags) != FALSE;
}

bool Win32PortLayer::write(PortHandle port, std::string_view bytes, std::uint32_t& written) {
  written = 0;
  if (MappedPort* mapped = mappedPortOf(port)) return mapped->write(bytes, written);
  if (bytes.size() > std::numeric_limits<DWORD>::max()) return false;
  DWORD count = 0;
  const BOOL ok =
      WriteFile(handleOf(port), bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
  written = count;
  return ok != FALSE;
}

bool Win32PortLayer::setBreak(PortHandle port) {
  if (mappedPortOf(port)) return false;
  return EscapeCommFunction(handleOf(port), SETBREAK) != FALSE;
}

bool Win32PortLayer::close(PortHandle port) {
  if (mapped_ != nullptr) {
    std::unique_ptr<MappedPort> mapped;
    {
      std::lock_guard<std::mutex> guard(lock_);
      const auto it = open_.find(port);
      if (it != open_.end()) {
        mapped = std::move(it->second);
        open_.erase(it);
      }
    }
    if (mapped) {
      // A job cut short is said once, here; the worker does not send it again.
      const Delivery delivery = mapped->finish();
      if (!delivery.complete()) {
        cutShort_ = true;
        mapped_->reportFailure(delivery);
      }
      return true;
    }
  }
  return CloseHandle(handleOf(port)) != FALSE;
}

std::vector<std::string> Win32PortLayer::usbDevicePaths() {
  std::vector<std::string> paths;
  const DeviceInfoSet set = presentDevices(kUsbDeviceInterfaceClass);
  for (DWORD index = 0; set; ++index) {
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof(interfaceData);
    if (!SetupDiEnumDeviceInterfaces(set.get(), nullptr, &kUsbDeviceInterfaceClass, index,
                                     &interfaceData)) {
      // ERROR_NO_MORE_ITEMS is the end of the list; any other failure ends
      // it too, since the index would never reach the end otherwise.
      break;
    }
    std::string path;
    if (readDevicePath(set.get(), interfaceData, path)) paths.push_back(std::move(path));
  }
  // A mapped USB printer comes last, so that it wins over the ones present.
  if (mapped_ != nullptr && mapped_->isMapped("USB")) {
    paths.emplace_back(DeviceMap::kMappedUsbDevicePath);
  }
  return paths;
}

}  // namespace tagwright
