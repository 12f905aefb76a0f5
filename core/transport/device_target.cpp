#include "core/transport/device_target.h"

#include <cctype>

#include "core/text/ascii_case.h"

namespace tagwright {
namespace {

constexpr std::string_view kForms = " (write tcp://HOST[:PORT], printer:NAME or file:PATH)";

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string DeviceTarget::text() const {
  switch (kind) {
    case Kind::Tcp: return std::string(kTcpDevicePrefix) + tcp.text();
    case Kind::PrinterQueue: return std::string(kPrinterQueuePrefix) + name;
    case Kind::File: return std::string(kFileTargetPrefix) + name;
  }
  return {};
}

Result<DeviceTarget> parseDeviceTarget(std::string_view given) {
  using Parsed = Result<DeviceTarget>;
  const std::string_view text = trimmed(given);
  DeviceTarget target;
  if (isTcpDevice(text)) {
    Result<TcpPrinterAddress> address = parseTcpPrinterAddress(text);
    if (!address) return Parsed::failure(address.error());
    target.kind = DeviceTarget::Kind::Tcp;
    target.tcp = std::move(address).value();
    return target;
  }
  for (const auto& [prefix, kind] :
       {std::pair{kPrinterQueuePrefix, DeviceTarget::Kind::PrinterQueue},
        std::pair{kFileTargetPrefix, DeviceTarget::Kind::File}}) {
    if (!startsWith(text, prefix)) continue;
    const std::string_view rest = trimmed(text.substr(prefix.size()));
    if (rest.empty()) {
      return Parsed::failure("\"" + std::string(text) + "\" names no " +
                             (kind == DeviceTarget::Kind::File ? "file" : "printer queue") +
                             std::string(kForms));
    }
    target.kind = kind;
    target.name = std::string(rest);
    return target;
  }
  return Parsed::failure("\"" + std::string(text) + "\" is not a device target" +
                         std::string(kForms));
}

bool isMappablePortName(std::string_view name) {
  const std::string upper = asciiUpper(name);
  if (upper == "USB") return true;
  if (upper.size() != 4 || !std::isdigit(static_cast<unsigned char>(upper[3]))) return false;
  const int n = upper[3] - '0';
  if (startsWith(upper, "LPT")) return n >= 1 && n <= 3;
  if (startsWith(upper, "COM")) return n >= 1 && n <= 9;
  return false;
}

}  // namespace tagwright
