// libFuzzer entry point over a network printer's address, tcp://HOST[:PORT]:
// any bytes. An address that reads must have a host and a port from 1 to
// 65535 and must write back, as tcp:// and text(), as the same address.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/transport/network_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tagwright;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Result<TcpPrinterAddress> address = parseTcpPrinterAddress(text);
  if (!address) {
    if (address.error().empty()) __builtin_trap();
    return 0;
  }
  const TcpPrinterAddress& read = address.value();
  if (read.host.empty() || read.port == 0) __builtin_trap();
  const Result<TcpPrinterAddress> again =
      parseTcpPrinterAddress(std::string(kTcpDevicePrefix) + read.text());
  if (!again || !(again.value() == read)) __builtin_trap();
  return 0;
}
