#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/util/result.h"

namespace tagwright {

// The text that names a network printer behind a port: tcp://HOST[:PORT].
inline constexpr std::string_view kTcpDevicePrefix = "tcp://";
inline constexpr std::uint16_t kRawPrintingPort = 9100;

// Where a raw network printer listens. `host` is a name or an address (an
// IPv6 address without its brackets).
struct TcpPrinterAddress {
  std::string host;
  std::uint16_t port = kRawPrintingPort;

  // host:port, with an IPv6 address in brackets, as the user writes it.
  std::string text() const;
  friend bool operator==(const TcpPrinterAddress&, const TcpPrinterAddress&) = default;
};

// True when `device` names a network printer (starts with tcp://).
bool isTcpDevice(std::string_view device);

// Reads tcp://HOST[:PORT] ("tcp://10.0.0.7", "tcp://printer.local:9101",
// "tcp://[fe80::1]:9100"). A failure says what is wrong and how to write it.
Result<TcpPrinterAddress> parseTcpPrinterAddress(std::string_view device);

}  // namespace tagwright
