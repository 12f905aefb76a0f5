#include "core/transport/network_address.h"

#include <charconv>

namespace tagwright {
namespace {

constexpr std::string_view kForm =
    " (write tcp://HOST or tcp://HOST:PORT, e.g. tcp://10.0.0.7:9100)";

bool validHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

}  // namespace

std::string TcpPrinterAddress::text() const {
  const bool ipv6 = host.find(':') != std::string::npos;
  return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

bool isTcpDevice(std::string_view device) {
  return device.substr(0, kTcpDevicePrefix.size()) == kTcpDevicePrefix;
}

Result<TcpPrinterAddress> parseTcpPrinterAddress(std::string_view device) {
  using Parsed = Result<TcpPrinterAddress>;
  const std::string given(device);
  if (!isTcpDevice(device)) {
    return Parsed::failure("\"" + given + "\" is not a network printer" + std::string(kForm));
  }
  std::string_view rest = device.substr(kTcpDevicePrefix.size());
  if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  TcpPrinterAddress address;
  std::string_view portText;
  if (!rest.empty() && rest.front() == '[') {
    const std::size_t close = rest.find(']');
    if (close == std::string_view::npos) {
      return Parsed::failure("\"" + given + "\": the IPv6 address has no closing ]" +
                             std::string(kForm));
    }
    address.host = std::string(rest.substr(1, close - 1));
    rest.remove_prefix(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') {
        return Parsed::failure("\"" + given + "\": only :PORT may follow the address" +
                               std::string(kForm));
      }
      portText = rest.substr(1);
      if (portText.empty()) portText = "?";  // a colon without a port
    }
    // Brackets hold an IPv6 address, which always has a colon: anything
    // else there would be written back without them as another host.
    if (address.host.find(':') == std::string::npos ||
        address.host.find_first_not_of("0123456789abcdefABCDEF:.%") != std::string::npos) {
      return Parsed::failure("\"" + given + "\": not an IPv6 address in the brackets" +
                             std::string(kForm));
    }
  } else {
    const std::size_t colon = rest.find(':');
    address.host = std::string(rest.substr(0, colon));
    if (colon != std::string_view::npos) {
      portText = rest.substr(colon + 1);
      if (portText.empty()) portText = "?";
    }
    if (address.host.empty()) {
      return Parsed::failure("\"" + given + "\": the printer's host name or address is missing" +
                             std::string(kForm));
    }
    for (char c : address.host) {
      if (!validHostCharacter(c)) {
        return Parsed::failure("\"" + given + "\": \"" + address.host +
                               "\" is not a host name or address" + std::string(kForm));
      }
    }
  }
  if (!portText.empty()) {
    unsigned value = 0;
    const auto [end, failure] =
        std::from_chars(portText.data(), portText.data() + portText.size(), value);
    if (failure != std::errc() || end != portText.data() + portText.size() || value == 0 ||
        value > 65535) {
      return Parsed::failure("\"" + given + "\": the port must be a number from 1 to 65535" +
                             std::string(kForm));
    }
    address.port = static_cast<std::uint16_t>(value);
  }
  return address;
}

}  // namespace tagwright
