#pragma once

#include <any>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tagwright {

// A platform's file handle for an open port; kInvalidPort means none is open.
using PortHandle = std::intptr_t;
inline constexpr PortHandle kInvalidPort = -1;

// System error codes that the port logic tells apart (Windows numbering,
// which every port layer reports in).
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorAccessDenied = 5;  // the port is held by another opener
inline constexpr std::uint32_t kErrorGenFailure = 31;

// Modem status bits; a serial port with none of them on has no printer.
inline constexpr std::uint32_t kModemCtsOn = 0x10;
inline constexpr std::uint32_t kModemDsrOn = 0x20;
inline constexpr std::uint32_t kModemRingOn = 0x40;
inline constexpr std::uint32_t kModemRlsdOn = 0x80;

// Event mask and purge flags used by the serial set-up.
inline constexpr std::uint32_t kEventRxChar = 0x01;
inline constexpr std::uint32_t kEventBreak = 0x40;
inline constexpr std::uint32_t kPurgeTxClear = 0x04;
inline constexpr std::uint32_t kPurgeRxClear = 0x08;

// Line fields of the serial state.
inline constexpr std::uint8_t kNoParity = 0;
inline constexpr std::uint8_t kOneStopBit = 0;

// Time-outs of a port in milliseconds. A total write time-out is
// multiplier * bytes + constant; both 0 means no time-out.
struct CommTimeouts {
  std::uint32_t readIntervalTimeout = 0;
  std::uint32_t readTotalTimeoutMultiplier = 0;
  std::uint32_t readTotalTimeoutConstant = 0;
  std::uint32_t writeTotalTimeoutMultiplier = 0;
  std::uint32_t writeTotalTimeoutConstant = 0;
  friend bool operator==(const CommTimeouts&, const CommTimeouts&) = default;
};

// The serial line state as the port reports it. The four line fields are
// the ones the port logic changes; `native` carries everything else in the
// platform's own form (a DCB, a termios), so that writing the state back
// keeps the fields that were not touched (flow control among them).
struct CommState {
  std::uint32_t baudRate = 0;
  std::uint8_t byteSize = 0;
  std::uint8_t parity = 0;
  std::uint8_t stopBits = 0;
  std::any native;
};

// The operations the port logic needs, shaped like the Windows calls. Every
// operation reports success or failure; which failures matter is the port
// logic's decision, not the layer's. Implementations must allow calls from
// several threads at once (one handle is used by one thread at a time).
class PortLayer {
 public:
  virtual ~PortLayer() = default;

  // Opens an existing port by name for reading and writing, exclusively. On
  // failure returns kInvalidPort and sets `error`; kErrorAccessDenied means
  // that another opener holds the port.
  virtual PortHandle open(const std::string& name, std::uint32_t& error) = 0;
  virtual bool getTimeouts(PortHandle port, CommTimeouts& timeouts) = 0;
  virtual bool setTimeouts(PortHandle port, const CommTimeouts& timeouts) = 0;
  // `status` receives the modem status bits (kModem*).
  virtual bool getModemStatus(PortHandle port, std::uint32_t& status) = 0;
  virtual bool getCommState(PortHandle port, CommState& state) = 0;
  virtual bool setupQueues(PortHandle port, std::uint32_t inputSize, std::uint32_t outputSize) = 0;
  virtual bool setCommState(PortHandle port, const CommState& state) = 0;
  virtual bool setCommMask(PortHandle port, std::uint32_t mask) = 0;
  virtual bool purge(PortHandle port, std::uint32_t flags) = 0;
  // Writes the bytes in one call under the port's write time-outs; `written`
  // receives the count that went out.
  virtual bool write(PortHandle port, std::string_view bytes, std::uint32_t& written) = 0;
  // Puts the line into the break state.
  virtual bool setBreak(PortHandle port) = 0;
  virtual bool close(PortHandle port) = 0;
  // False for a port that the device map sends elsewhere (a network
  // printer, a printer queue, a file): it has no serial or parallel line,
  // so the line's set-up and the printer's presence test do not apply.
  virtual bool isLocalPort(PortHandle) { return true; }
  // Device paths of the present USB device interfaces, in enumeration order;
  // empty when there are none or the device set cannot be made.
  virtual std::vector<std::string> usbDevicePaths() = 0;
};

}  // namespace tagwright
