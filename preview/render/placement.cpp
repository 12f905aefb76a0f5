#include "preview/render/placement.h"

#include <algorithm>
#include <cstring>

namespace tagwright::preview {

void fillPlaced(Bitmap& label, const Placement& placement, int left, int top, int right, int bottom,
                PaintMode mode) {
  if (right < left || bottom < top) return;
  // The rectangle covers the unit squares from (left, top) to
  // (right + 1, bottom + 1); turning moves those two corners to opposite
  // corners of the turned rectangle.
  const Point a = turnClockwise({left, top}, placement.quarterTurns);
  const Point b = turnClockwise({right + 1, bottom + 1}, placement.quarterTurns);
  label.fillRect(placement.x + std::min(a.x, b.x), placement.y + std::min(a.y, b.y),
                 placement.x + std::max(a.x, b.x) - 1, placement.y + std::max(a.y, b.y) - 1, mode);
}

void drawPlaced(Bitmap& label, const Placement& placement, const Bitmap& element, PaintMode mode) {
  const int width = element.width();
  const int height = element.height();
  int y = 0;
  while (y < height) {
    const std::uint8_t* line = element.row(y);
    // Rows equal to this one below it are drawn with it, as taller runs:
    // the bars of a linear barcode are then one rectangle each.
    int last = y;
    while (last + 1 < height &&
           std::memcmp(element.row(last + 1), line, static_cast<std::size_t>(width)) == 0) {
      ++last;
    }
    int x = 0;
    while (x < width) {
      if (line[x] == 0) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < width && line[x] != 0) ++x;
      fillPlaced(label, placement, start, y, x - 1, last, mode);
    }
    y = last + 1;
  }
}

}  // namespace tagwright::preview
