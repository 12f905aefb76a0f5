#include "platform/posix/transport/cups_address.h"

#include <charconv>

namespace tagwright {
namespace {

constexpr std::string_view kForm =
    " (write cups:QUEUE or cups:QUEUE@HOST[:PORT], e.g. cups:labels@printserver:631)";

// CUPS queue names: printable characters other than space, / \ ? ' " #
// and @, at most 127 of them.
bool validQueueName(std::string_view name) {
  if (name.empty() || name.size() > 127) return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7F || c == '/' || c == '\\' || c == '?' || c == '\'' || c == '"' ||
        c == '#' || c == '@') {
      return false;
    }
  }
  return true;
}

bool validHost(std::string_view host) {
  if (host.empty()) return false;
  for (char c : host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '.' || c == '_';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

std::string CupsQueueAddress::text() const {
  if (host.empty()) return queue;
  return queue + "@" + host + (port != 0 ? ":" + std::to_string(port) : std::string());
}

bool isCupsDevice(std::string_view device) {
  return device.substr(0, kCupsDevicePrefix.size()) == kCupsDevicePrefix;
}

Result<CupsQueueAddress> parseCupsQueueAddress(std::string_view device) {
  using Parsed = Result<CupsQueueAddress>;
  const std::string given(device);
  if (!isCupsDevice(device)) {
    return Parsed::failure("\"" + given + "\" is not a print-server queue" + std::string(kForm));
  }
  const std::string_view rest = device.substr(kCupsDevicePrefix.size());
  const std::size_t at = rest.find('@');
  CupsQueueAddress address;
  address.queue = std::string(rest.substr(0, at));
  if (!validQueueName(address.queue)) {
    return Parsed::failure("\"" + given + "\": " +
                           (address.queue.empty()
                                ? std::string("the queue name is missing")
                                : "\"" + address.queue + "\" is not a queue name") +
                           std::string(kForm));
  }
  if (at == std::string_view::npos) return address;
  std::string_view server = rest.substr(at + 1);
  const std::size_t colon = server.find(':');
  address.host = std::string(server.substr(0, colon));
  if (!validHost(address.host)) {
    return Parsed::failure("\"" + given + "\": " +
                           (address.host.empty()
                                ? std::string("the server's name is missing after @")
                                : "\"" + address.host + "\" is not a host name or address") +
                           std::string(kForm));
  }
  if (colon != std::string_view::npos) {
    const std::string_view portText = server.substr(colon + 1);
    unsigned value = 0;
    const auto [end, failure] =
        std::from_chars(portText.data(), portText.data() + portText.size(), value);
    if (portText.empty() || failure != std::errc() || end != portText.data() + portText.size() ||
        value == 0 || value > 65535) {
      return Parsed::failure("\"" + given +
                             "\": the server's port must be a number from 1 to 65535" +
                             std::string(kForm));
    }
    address.port = static_cast<std::uint16_t>(value);
  }
  return address;
}

}  // namespace tagwright
