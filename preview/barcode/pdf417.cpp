#include <zint.h>

#include <string>

#include "preview/barcode/barcode_drawing.h"
#include "preview/barcode/symbol_limits.h"
#include "preview/barcode/zint_encoder.h"

namespace tagwright::preview {
namespace {

constexpr int kMinRows = 3;
constexpr int kMaxRows = 90;
constexpr int kMaxColumns = 30;
constexpr int kMaxLevel = 8;

struct Pdf417Symbol {
  std::string error;
  ZintOutput zint;
  int width = 0;
  int height = 0;
};

std::string fieldProblem(const Pdf417Request& request) {
  auto outOfRange = [](std::string_view field, int value, std::string_view range) {
    return "PDF417: " + std::string(field) + " is " + std::to_string(value) + "; it takes " +
           std::string(range);
  };
  if (request.moduleWidth < 1)
    return outOfRange("the module width", request.moduleWidth, "1 dot or more");
  if (request.rowHeight < 1)
    return outOfRange("the row height", request.rowHeight, "1 dot or more");
  if (request.rows != 0 && (request.rows < kMinRows || request.rows > kMaxRows)) {
    return outOfRange("the row count", request.rows, "3 to 90, or 0 for as many as the data needs");
  }
  if (request.columns < 0 || request.columns > kMaxColumns) {
    return outOfRange("the column count", request.columns,
                      "1 to 30, or 0 for as many as the data needs");
  }
  if (request.level < 0 || request.level > kMaxLevel) {
    return outOfRange("the error correction level", request.level, "0 to 8");
  }
  if (request.data.empty()) return "PDF417: the data is empty; it takes at least one character";
  return {};
}

std::string countText(int count, std::string_view what) {
  if (count == 0) return "automatic " + std::string(what) + "s";
  return std::to_string(count) + " " + std::string(what) + (count == 1 ? "" : "s");
}

Pdf417Symbol encodePdf417(const Pdf417Request& request) {
  Pdf417Symbol symbol;
  symbol.error = fieldProblem(request);
  if (!symbol.error.empty()) return symbol;
  ZintInput input;
  input.symbology = BARCODE_PDF417;
  input.option1 = request.level;
  input.option2 = request.columns;
  input.option3 = request.rows;
  input.inputMode = UNICODE_MODE;
  input.data = request.data;
  symbol.zint = encodeWithZint(input);
  if (!symbol.zint.error.empty()) {
    symbol.error = "PDF417 with " + countText(request.rows, "row") + ", " +
                   countText(request.columns, "column") + " and error correction level " +
                   std::to_string(request.level) + " cannot hold this data (" +
                   std::to_string(request.data.size()) + " bytes): zint: " + symbol.zint.error;
    return symbol;
  }
  const long long modules =
      symbol.zint.rows.empty() ? 0 : static_cast<long long>(symbol.zint.rows.front().size());
  const long long width = modules * request.moduleWidth;
  const long long height = static_cast<long long>(symbol.zint.rows.size()) * request.rowHeight;
  symbol.error = symbolTooLarge(width, height);
  if (!symbol.error.empty()) {
    symbol.error = "PDF417: " + symbol.error;
    return symbol;
  }
  symbol.width = static_cast<int>(width);
  symbol.height = static_cast<int>(height);
  return symbol;
}

}  // namespace

std::string pdf417DataError(const Pdf417Request& request) { return encodePdf417(request).error; }

SymbolSize pdf417Size(const Pdf417Request& request) {
  const Pdf417Symbol symbol = encodePdf417(request);
  return {symbol.width, symbol.height, symbol.error};
}

SymbolDrawing drawPdf417(const Pdf417Request& request) {
  SymbolDrawing drawing;
  const Pdf417Symbol symbol = encodePdf417(request);
  if (!symbol.error.empty()) {
    drawing.error = symbol.error;
    return drawing;
  }
  drawing.bars = Bitmap(symbol.width, symbol.height);
  for (std::size_t row = 0; row < symbol.zint.rows.size(); ++row) {
    const auto& modules = symbol.zint.rows[row];
    const int top = static_cast<int>(row) * request.rowHeight;
    for (std::size_t column = 0; column < modules.size();) {
      if (modules[column] == 0) {
        ++column;
        continue;
      }
      std::size_t end = column;
      while (end < modules.size() && modules[end] != 0) ++end;
      drawing.bars.fillRect(static_cast<int>(column) * request.moduleWidth, top,
                            static_cast<int>(end) * request.moduleWidth - 1,
                            top + request.rowHeight - 1);
      column = end;
    }
  }
  if (!symbol.zint.warning.empty()) drawing.notes.push_back("PDF417: zint: " + symbol.zint.warning);
  return drawing;
}

}  // namespace tagwright::preview
