// libFuzzer entry point over a print-server queue's address,
// cups:QUEUE[@HOST[:PORT]]: any bytes. An address that reads must have a
// queue name and must write back, as cups: and text(), as the same
// address.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/posix/transport/cups_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tagwright;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Result<CupsQueueAddress> address = parseCupsQueueAddress(text);
  if (!address) {
    if (address.error().empty()) __builtin_trap();
    return 0;
  }
  const CupsQueueAddress& read = address.value();
  if (read.queue.empty() || (read.host.empty() && read.port != 0)) __builtin_trap();
  const Result<CupsQueueAddress> again =
      parseCupsQueueAddress(std::string(kCupsDevicePrefix) + read.text());
  if (!again || !(again.value() == read)) __builtin_trap();
  return 0;
}
