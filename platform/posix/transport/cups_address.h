#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/util/result.h"

namespace tagwright {

// The text that names a print-server queue behind a port:
// cups:QUEUE[@HOST[:PORT]].
inline constexpr std::string_view kCupsDevicePrefix = "cups:";

// A CUPS queue; an empty host is this machine's default server, a port of
// 0 the server's usual one.
struct CupsQueueAddress {
  std::string queue;
  std::string host;
  std::uint16_t port = 0;

  // QUEUE, QUEUE@HOST or QUEUE@HOST:PORT, as the user writes it.
  std::string text() const;
  friend bool operator==(const CupsQueueAddress&, const CupsQueueAddress&) = default;
};

bool isCupsDevice(std::string_view device);

// Reads cups:QUEUE[@HOST[:PORT]]; a failure says what is wrong and how to
// write it.
Result<CupsQueueAddress> parseCupsQueueAddress(std::string_view device);

}  // namespace tagwright
