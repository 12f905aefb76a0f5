#pragma once

#include <algorithm>
#include <cstdint>

namespace tagwright {

// An inclusive range of 32-bit integers.
struct NumberRange {
  std::int32_t low;
  std::int32_t high;

  constexpr bool contains(std::int32_t value) const { return value >= low && value <= high; }
  constexpr std::int32_t clamp(std::int32_t value) const { return std::clamp(value, low, high); }
};

}  // namespace tagwright
