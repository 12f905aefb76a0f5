#include "preview/barcode/linear_elements.h"

#include <algorithm>

namespace tagwright::preview {

std::vector<ModuleElement> elementsOf(const ZintOutput& symbol) {
  std::vector<ModuleElement> elements;
  if (symbol.rows.empty()) return elements;
  const auto& fullRow = symbol.rows.back();
  const auto& tallRow = symbol.rows.front();
  const bool twoHeights = symbol.rows.size() > 1;
  for (std::size_t column = 0; column < fullRow.size(); ++column) {
    const bool dark = fullRow[column] != 0;
    const bool shortBar = dark && twoHeights && tallRow[column] == 0;
    if (!elements.empty() && elements.back().dark == dark && elements.back().shortBar == shortBar &&
        !(dark && twoHeights)) {
      ++elements.back().modules;
    } else {
      elements.push_back({dark, 1, shortBar});
    }
  }
  // The symbol starts and ends with a bar: zint leaves a light module after
  // some symbologies (Codabar), which is quiet zone, not symbol.
  while (!elements.empty() && !elements.back().dark) elements.pop_back();
  if (!elements.empty() && !elements.front().dark) elements.erase(elements.begin());
  return elements;
}

DotLayout layOutInDots(const std::vector<ModuleElement>& elements, bool twoWidth, int narrow,
                       int wide) {
  DotLayout layout;
  int wideModules = 0;
  if (twoWidth) {
    for (const ModuleElement& element : elements) {
      if (element.modules == 1) continue;
      if (wideModules != 0 && element.modules != wideModules) {
        layout.error = "zint drew elements of " + std::to_string(wideModules) + " and " +
                       std::to_string(element.modules) +
                       " modules in a two-width symbology; the narrow/wide sequence is unknown";
        return layout;
      }
      wideModules = element.modules;
    }
  }
  long long x = 0;
  for (const ModuleElement& element : elements) {
    long long width = 0;
    if (twoWidth) {
      width = element.modules == 1 ? narrow : wide;
    } else {
      width = static_cast<long long>(element.modules) * narrow;
    }
    // Positions beyond int are refused by the caller from `width`.
    const int clampedX = static_cast<int>(std::min<long long>(x, 1LL << 30));
    const int clampedWidth = static_cast<int>(std::min<long long>(width, 1LL << 30));
    layout.elements.push_back({element.dark, clampedX, clampedWidth, element.shortBar});
    x += width;
  }
  layout.width = x;
  return layout;
}

}  // namespace tagwright::preview
