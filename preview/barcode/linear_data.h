#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "preview/barcode/linear_symbology.h"
#include "preview/barcode/zint_encoder.h"

namespace tagwright::preview {

// A linear barcode's data checked against its symbology and turned into
// zint's input, with what the human-readable line shows.
struct PreparedLinearData {
  std::string error;  // non-empty: the symbology cannot carry the data, and why
  ZintInput zint;
  bool readableFromZint = false;  // the readable line is zint's text (EAN/UPC, GS1-128)
  std::string readable;           // otherwise this
  std::string addOnReadable;      // the add-on's digits
  int addOnModules = 0;           // the add-on's width in modules, 0 without one
  int addOnGapModules = 0;        // the space before the add-on, in modules
  int fixedQuarterTurns = -1;     // >= 0: the printer draws the symbol only so turned
  std::vector<std::string> notes;
};

PreparedLinearData prepareLinearData(const LinearType& type, std::string_view utf8Data);

}  // namespace tagwright::preview
