#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "preview/raster/bitmap.h"

namespace tagwright::preview {

// A linear barcode as a `B` command asks for it, before rotation.
struct LinearBarcodeRequest {
  std::string type;  // the type field as written: "E", "A2", "Q", ...
  int narrow = 2;    // narrow bar and space (module) width, dots
  int wide = 4;      // wide element width, dots (two-width symbologies only)
  int height = 80;   // bar height, dots
  bool readable = false;
  std::string data;  // the data, decoded to UTF-8
};

// A PDF417 symbol as a `P` command asks for it.
struct Pdf417Request {
  int moduleWidth = 2;  // dots
  int rowHeight = 6;    // dots
  int rows = 0;         // 0: as many as the data needs
  int columns = 0;      // 0: as many as the data needs
  int level = 0;        // error correction level 0..8
  std::string data;     // UTF-8
};

// A line of text that belongs to a symbol (its human-readable line or
// lines); the caller draws it with its own font, so that barcode drawing
// needs no font.
struct SymbolText {
  std::string text;  // UTF-8
  int x = 0;         // top-left corner of the text box, in symbol dots
  int y = 0;
  int width = 0;       // the box the text is centred in, dots
  int fontHeight = 0;  // dots
};

// A symbol drawn upright with its top-left corner at (0, 0), ready to be
// turned and placed; or the reason it cannot be drawn.
struct SymbolDrawing {
  Bitmap bars;                     // the bars (and guard bars), black on white
  std::vector<SymbolText> texts;   // human-readable text to add, if asked for
  std::string error;               // non-empty: nothing to draw, and why
  std::vector<std::string> notes;  // assumptions applied while drawing
  // >= 0: the printer draws this symbol only turned by this many clockwise
  // quarter turns, whatever the command's rotation field says (DUN-14).
  int fixedQuarterTurns = -1;
};

// A symbol's size in dots, before rotation, or why it cannot be drawn: for
// overhang checks without drawing.
struct SymbolSize {
  int width = 0;
  int height = 0;
  std::string error;
};

// `humanReadableFontHeight`: the height of the font the human-readable line
// is drawn in, so that the symbol's box can include it.
SymbolDrawing drawLinearBarcode(const LinearBarcodeRequest& request, int humanReadableFontHeight);
SymbolDrawing drawPdf417(const Pdf417Request& request);

SymbolSize linearBarcodeSize(const LinearBarcodeRequest& request, int humanReadableFontHeight);
SymbolSize pdf417Size(const Pdf417Request& request);

// Why a `B` command's type and data cannot be drawn ("type X is not a
// barcode the printer draws", `EAN-13 takes 12 or 13 digits; "TW-1" has
// letters`, ...), or empty when they can; for checkers that draw nothing.
std::string linearBarcodeDataError(std::string_view type, std::string_view utf8Data);

// Why a PDF417 request cannot be drawn (a field out of range, or data that
// does not fit its rows, columns and error correction level), or empty.
std::string pdf417DataError(const Pdf417Request& request);

}  // namespace tagwright::preview
