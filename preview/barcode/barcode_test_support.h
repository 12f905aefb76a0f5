#pragma once

#include <optional>
#include <string>

#include "preview/raster/bitmap.h"

namespace tagwright::preview::testing {

// What a scanner should be told about the symbol it reads.
struct ScanHints {
  bool code39CheckDigit = false;  // verify and strip Code 39's check character
  bool itfCheckDigit = false;     // verify Interleaved 2 of 5's check digit
  bool eanAddOn = false;          // read the 2- or 5-digit add-on too
};

// `symbol` turned by `quarterTurns` clockwise with Bitmap::draw and placed in
// a white picture with `quietZone` dots of white on every side.
Bitmap placedWithQuietZone(const Bitmap& symbol, int quarterTurns, int quietZone);

// What zxing-cpp reads from the picture (any format it knows), or nothing.
// It alone needs zxing-cpp (barcode_test_support.cpp, native tests only);
// the picture helpers are in barcode_pictures.cpp.
std::optional<std::string> scan(const Bitmap& picture, const ScanHints& hints = {});

// The widths of the runs of equal pixels along row `y`, from the first black
// pixel to the last.
std::vector<int> runsAlongRow(const Bitmap& picture, int y);

}  // namespace tagwright::preview::testing
