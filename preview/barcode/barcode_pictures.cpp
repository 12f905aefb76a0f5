// The picture helpers of the barcode tests, which need no scanner: the
// Windows test program has these alone.
#include <vector>

#include "preview/barcode/barcode_test_support.h"

namespace tagwright::preview::testing {

Bitmap placedWithQuietZone(const Bitmap& symbol, int quarterTurns, int quietZone) {
  const bool sideways = quarterTurns % 2 == 1;
  const int turnedWidth = sideways ? symbol.height() : symbol.width();
  const int turnedHeight = sideways ? symbol.width() : symbol.height();
  Bitmap picture(turnedWidth + 2 * quietZone, turnedHeight + 2 * quietZone);
  // The turned symbol lies left of and above its anchor on the sides the
  // turn brought round: put the anchor where its box starts at the quiet zone.
  int x = quietZone;
  int y = quietZone;
  switch (quarterTurns % 4) {
    case 1: x += turnedWidth; break;
    case 2:
      x += turnedWidth;
      y += turnedHeight;
      break;
    case 3: y += turnedHeight; break;
    default: break;
  }
  picture.draw(symbol, x, y, quarterTurns);
  return picture;
}

std::vector<int> runsAlongRow(const Bitmap& picture, int y) {
  int first = 0;
  while (first < picture.width() && !picture.black(first, y)) ++first;
  int last = picture.width() - 1;
  while (last >= first && !picture.black(last, y)) --last;
  std::vector<int> runs;
  for (int x = first; x <= last; ++x) {
    if (x > first && picture.black(x, y) == picture.black(x - 1, y)) {
      ++runs.back();
    } else {
      runs.push_back(1);
    }
  }
  return runs;
}

}  // namespace tagwright::preview::testing
