#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/transport/port_layer.h"
#include "core/transport/sleeper.h"

namespace tagwright {

// Port indices: 0..2 are LPT1..LPT3, 3..11 are COM1..COM9, 12 is the USB
// printer; any other index opens LPT1 and is treated by the tests below.
inline constexpr std::int32_t kUsbPortIndex = 12;

// The USB printer is the device interface whose path contains these ids
// (case-sensitive, as the system writes device paths in lower case).
inline constexpr std::string_view kUsbPrinterIds = "vid_195f&pid_0001";

inline constexpr std::chrono::milliseconds kAccessDeniedRetryDelay{10};
inline constexpr CommTimeouts kPortTimeouts{200, 100, 200, 1000, 2000};
inline constexpr std::uint32_t kSerialBaudRate = 9600;
inline constexpr std::uint8_t kSerialByteSize = 8;
inline constexpr std::uint32_t kSerialQueueSize = 256;

// The name opened for a port index; empty for the USB index, whose name is
// found by findUsbPrinterPath.
std::string portNameForIndex(std::int32_t index);

// The kind tests are made on the index itself, so an index above 12 opens
// LPT1 yet gets the serial set-up and the break on close.
constexpr bool usesSerialSetUp(std::int32_t index) { return index > 2 && index != kUsbPortIndex; }
constexpr bool usesParallelTestWrite(std::int32_t index) { return index < 3; }
constexpr bool usesBreakOnClose(std::int32_t index) { return index > 2; }

// The device path of the last USB interface whose path contains
// kUsbPrinterIds, or empty when none does.
std::string findUsbPrinterPath(PortLayer& layer);

// Opens and prepares the port of `index` for writing one job. Returns an
// open handle and leaves `errorText` alone, or returns kInvalidPort with
// `errorText` replaced by the Windows-1251 text to show. While another
// opener holds the port it waits, retrying every 10 ms, without limit.
PortHandle OpenPrinterPort(PortLayer& layer, Sleeper& sleeper, std::int32_t index,
                           std::string& errorText);

// Closes a port opened by OpenPrinterPort; does nothing for kInvalidPort.
// Serial and USB ports are put into the break state first.
void ClosePrinterPort(PortLayer& layer, std::int32_t index, PortHandle port);

// An open printer port that closes itself through ClosePrinterPort when it
// goes out of scope, so that no way out of a job can leave it open.
class OpenedPrinterPort {
 public:
  OpenedPrinterPort(PortLayer& layer, std::int32_t index, PortHandle handle) noexcept
      : layer_(&layer), index_(index), handle_(handle) {}
  OpenedPrinterPort(OpenedPrinterPort&& other) noexcept
      : layer_(other.layer_), index_(other.index_), handle_(other.release()) {}
  OpenedPrinterPort& operator=(OpenedPrinterPort&&) = delete;
  OpenedPrinterPort(const OpenedPrinterPort&) = delete;
  OpenedPrinterPort& operator=(const OpenedPrinterPort&) = delete;
  ~OpenedPrinterPort() { close(); }

  PortHandle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != kInvalidPort; }
  // Gives the handle up without closing it.
  [[nodiscard]] PortHandle release() noexcept {
    const PortHandle handle = handle_;
    handle_ = kInvalidPort;
    return handle;
  }
  void close() noexcept { ClosePrinterPort(*layer_, index_, release()); }

 private:
  PortLayer* layer_;
  std::int32_t index_;
  PortHandle handle_;
};

}  // namespace tagwright
