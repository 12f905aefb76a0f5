#pragma once

#include <string>

namespace tagwright::preview {

// No label holds more than 64 M dots, so no symbol needs to either: larger
// requests (a narrow width of a million dots) are refused before a bitmap is
// made for them.
inline constexpr long long kMaxSymbolDots = 64LL * 1024 * 1024;

// Why a symbol of `width` by `height` dots is too large to draw, or empty.
inline std::string symbolTooLarge(long long width, long long height) {
  if (width <= kMaxSymbolDots && height <= kMaxSymbolDots && width * height <= kMaxSymbolDots) {
    return {};
  }
  return "the symbol would be " + std::to_string(width) + " x " + std::to_string(height) +
         " dots, more than a label can hold";
}

}  // namespace tagwright::preview
