#include <algorithm>
#include <cmath>
#include <string>

#include "preview/barcode/barcode_assumptions.h"
#include "preview/barcode/barcode_drawing.h"
#include "preview/barcode/linear_data.h"
#include "preview/barcode/linear_elements.h"
#include "preview/barcode/linear_symbology.h"
#include "preview/barcode/symbol_limits.h"

namespace tagwright::preview {
namespace assume = barcode_assumptions;
namespace {

// Everything about a linear symbol short of its pixels.
struct LinearSymbol {
  std::string error;
  PreparedLinearData prepared;
  ZintOutput zint;
  DotLayout layout;
  int width = 0;
  int height = 0;
};

std::string unknownType(std::string_view type) {
  const std::string shown = type.empty() ? "\"\"" : std::string(type);
  return "type " + shown + " is not a barcode the printer draws";
}

// The data as messages quote it: long data is cut, so that the message
// stays readable.
std::string quotedForMessage(std::string_view data) {
  constexpr std::size_t kShown = 40;
  if (data.size() <= kShown) return "\"" + std::string(data) + "\"";
  return "\"" + std::string(data.substr(0, kShown)) + "...\" (" + std::to_string(data.size()) +
         " characters)";
}

// Two-width symbologies are specified for wide elements of 2 to 3 times the
// narrow ones; outside that range scanners may fail (zxing-cpp reads none of
// the preview's symbols at 1.5 or below), so the preview says so.
std::string wideRatioNote(const LinearType& type, const LinearBarcodeRequest& request) {
  const std::string widths = " (" + std::to_string(request.wide) + " dots wide, " +
                             std::to_string(request.narrow) + " narrow)";
  if (request.wide <= request.narrow) {
    return std::string(type.name) + ": the wide elements are not wider than the narrow ones" +
           widths + ": no scanner can read the symbol";
  }
  if (request.wide < 2 * request.narrow || request.wide > 3 * request.narrow) {
    return std::string(type.name) + ": the wide elements are not 2 to 3 times the narrow ones" +
           widths + ": scanners may not read the symbol";
  }
  return {};
}

LinearSymbol encodeLinear(const LinearBarcodeRequest& request, int fontHeight) {
  LinearSymbol symbol;
  const std::optional<LinearType> type = linearTypeFor(request.type);
  if (!type) {
    symbol.error = unknownType(request.type);
    return symbol;
  }
  if (request.narrow < 1) {
    symbol.error = std::string(type->name) + ": the narrow width is " +
                   std::to_string(request.narrow) + " dots; it takes at least 1";
    return symbol;
  }
  if (isTwoWidth(type->symbology) && request.wide < 1) {
    symbol.error = std::string(type->name) + ": the wide width is " + std::to_string(request.wide) +
                   " dots; it takes at least 1";
    return symbol;
  }
  if (request.height < 1) {
    symbol.error = std::string(type->name) + ": the bar height is " +
                   std::to_string(request.height) + " dots; it takes at least 1";
    return symbol;
  }
  symbol.prepared = prepareLinearData(*type, request.data);
  if (!symbol.prepared.error.empty()) {
    symbol.error = symbol.prepared.error;
    return symbol;
  }
  symbol.zint = encodeWithZint(symbol.prepared.zint);
  if (!symbol.zint.error.empty()) {
    symbol.error = std::string(type->name) + " cannot carry " + quotedForMessage(request.data) +
                   ": " + symbol.zint.error;
    return symbol;
  }
  symbol.layout = layOutInDots(elementsOf(symbol.zint), isTwoWidth(type->symbology), request.narrow,
                               request.wide);
  if (!symbol.layout.error.empty()) {
    symbol.error = std::string(type->name) + ": " + symbol.layout.error;
    return symbol;
  }
  const long long textRows =
      request.readable ? assume::kReadableGapDots + std::max(fontHeight, 0) : 0;
  const long long height = static_cast<long long>(request.height) + textRows;
  if (const std::string tooLarge = symbolTooLarge(symbol.layout.width, height); !tooLarge.empty()) {
    symbol.error = std::string(type->name) + ": " + tooLarge;
    return symbol;
  }
  symbol.width = static_cast<int>(symbol.layout.width);
  symbol.height = static_cast<int>(height);
  if (isTwoWidth(type->symbology)) {
    if (const std::string note = wideRatioNote(*type, request); !note.empty()) {
      symbol.prepared.notes.push_back(note);
    }
  }
  if (!symbol.zint.warning.empty()) {
    symbol.prepared.notes.push_back(std::string(type->name) + ": zint: " + symbol.zint.warning);
  }
  return symbol;
}

// The readable line (and the add-on's) centred under their bars.
std::vector<SymbolText> readableTexts(const LinearSymbol& symbol,
                                      const LinearBarcodeRequest& request, int fontHeight) {
  const PreparedLinearData& prepared = symbol.prepared;
  std::string main = prepared.readableFromZint ? symbol.zint.text : prepared.readable;
  if (prepared.addOnModules > 0) main = main.substr(0, main.find('+'));
  const int y = request.height + assume::kReadableGapDots;
  std::vector<SymbolText> texts;
  if (prepared.addOnModules == 0) {
    texts.push_back({main, 0, y, symbol.width, fontHeight});
    return texts;
  }
  // Add-ons exist only on single-width symbologies: module m starts at
  // m * narrow dots.
  const int addOnWidth = prepared.addOnModules * request.narrow;
  const int mainWidth = symbol.width - addOnWidth - prepared.addOnGapModules * request.narrow;
  texts.push_back({main, 0, y, mainWidth, fontHeight});
  texts.push_back({prepared.addOnReadable, symbol.width - addOnWidth, y, addOnWidth, fontHeight});
  return texts;
}

}  // namespace

std::string linearBarcodeDataError(std::string_view type, std::string_view utf8Data) {
  LinearBarcodeRequest request;
  request.type = std::string(type);
  request.data = std::string(utf8Data);
  return encodeLinear(request, 0).error;
}

SymbolSize linearBarcodeSize(const LinearBarcodeRequest& request, int humanReadableFontHeight) {
  const LinearSymbol symbol = encodeLinear(request, humanReadableFontHeight);
  return {symbol.width, symbol.height, symbol.error};
}

SymbolDrawing drawLinearBarcode(const LinearBarcodeRequest& request, int humanReadableFontHeight) {
  SymbolDrawing drawing;
  const LinearSymbol symbol = encodeLinear(request, humanReadableFontHeight);
  if (!symbol.error.empty()) {
    drawing.error = symbol.error;
    return drawing;
  }
  drawing.bars = Bitmap(symbol.width, symbol.height);
  const int shortBarHeight =
      std::max(1, static_cast<int>(std::lround(request.height * assume::kPostnetShortBarFraction)));
  for (const DotElement& element : symbol.layout.elements) {
    if (!element.dark || element.width == 0) continue;
    const int top = element.shortBar ? request.height - shortBarHeight : 0;
    drawing.bars.fillRect(element.x, top, element.x + element.width - 1, request.height - 1);
  }
  if (request.readable) drawing.texts = readableTexts(symbol, request, humanReadableFontHeight);
  drawing.notes = symbol.prepared.notes;
  drawing.fixedQuarterTurns = symbol.prepared.fixedQuarterTurns;
  return drawing;
}

}  // namespace tagwright::preview
