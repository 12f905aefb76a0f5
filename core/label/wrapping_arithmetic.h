#pragma once

#include <cstdint>

namespace tagwright {

// Settings loaded from a store carry any 32-bit value; arithmetic on them
// wraps around as the printer firmware's own 32-bit arithmetic would,
// instead of overflowing.
inline std::int32_t wrapAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t wrapMul(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

}  // namespace tagwright
