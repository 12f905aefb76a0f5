#include <string>

#include "core/text/utf8.h"
#include "preview/assumptions.h"
#include "preview/barcode/barcode_drawing.h"
#include "preview/job/fields.h"
#include "preview/render/elements.h"
#include "preview/render/text_drawing.h"

namespace tagwright::preview {
namespace {

// Draws the symbol's bars and its human-readable texts (centred in their
// boxes, in the fallback font) with the element's placement, and notes
// what the drawing says.
void placeSymbol(const ElementContext& element, const SymbolDrawing& drawing,
                 const Placement& placement) {
  for (const std::string& note : drawing.notes) element.note(note);
  if (!drawing.error.empty()) {
    element.note(drawing.error + "; not drawn");
    return;
  }
  drawPlaced(element.label, placement, drawing.bars);
  if (drawing.texts.empty()) return;
  FontFace* font = element.resources.font;
  if (font == nullptr) {
    element.note("human-readable text not drawn: " + element.resources.fontError);
    return;
  }
  for (const SymbolText& text : drawing.texts) {
    const std::u32string characters = decodeUtf8Replacing(text.text);
    TextStyle style;
    style.lineHeight = text.fontHeight > 0 ? text.fontHeight
                                           : residentFontHeight(assumptions::kHumanReadableFont,
                                                                element.resources.dotsPerMm);
    const TextExtent extent = measureText(*font, characters, style);
    const int left = text.x + (text.width - extent.width) / 2;
    drawText(element.label, shifted(placement, left, text.y), *font, characters, style);
  }
}

}  // namespace

void drawLinearBarcodeElement(const ElementContext& element) {
  const std::vector<std::string_view> fields = splitFields(element.command.line.substr(1), 9);
  if (fields.size() < 9) {
    element.note(
        "a barcode needs 9 fields (type,x,y,narrow,wide,height,rotation,readable,data); not "
        "drawn");
    return;
  }
  const auto x = positionField(element, fields[1], "x");
  const auto y = positionField(element, fields[2], "y");
  const auto narrow = fieldIn(element, fields[3], 1, 100, "the narrow width");
  const auto wide = fieldIn(element, fields[4], 1, 300, "the wide width");
  const auto height = fieldIn(element, fields[5], 1, 100000, "the bar height");
  const auto rotation = rotationField(element, fields[6]);
  const auto readable = fieldIn(element, fields[7], 0, 1, "the readable flag");
  if (!x || !y || !narrow || !wide || !height || !rotation || !readable) {
    element.note("not drawn");
    return;
  }
  LinearBarcodeRequest request;
  request.type = std::string(fields[0]);
  request.narrow = *narrow;
  request.wide = *wide;
  request.height = *height;
  request.readable = *readable == 1;
  request.data = toUtf8(element.resources.ansi->decode(fields[8]));
  if (rotation->whiteOnBlack) element.note("white on black is for texts: drawn black on white");
  const int fontHeight =
      residentFontHeight(assumptions::kHumanReadableFont, element.resources.dotsPerMm);
  const SymbolDrawing drawing = preview::drawLinearBarcode(request, fontHeight);
  int quarterTurns = rotation->quarterTurns;
  if (drawing.fixedQuarterTurns >= 0 && drawing.fixedQuarterTurns != quarterTurns) {
    element.note("this symbology is printed turned by " +
                 std::to_string(drawing.fixedQuarterTurns * 90) +
                 " degrees only, whatever the rotation field says");
    quarterTurns = drawing.fixedQuarterTurns;
  }
  placeSymbol(element, drawing, element.placementAt(*x, *y, quarterTurns));
}

void drawPdf417Element(const ElementContext& element) {
  const std::vector<std::string_view> fields = splitFields(element.command.line.substr(1), 8);
  if (fields.size() < 8) {
    element.note("a PDF417 needs 8 fields (x,y,w,h,rows,cols,level,data); not drawn");
    return;
  }
  const auto x = positionField(element, fields[0], "x");
  const auto y = positionField(element, fields[1], "y");
  const auto module = fieldIn(element, fields[2], 1, 100000, "the module width");
  const auto rowHeight = fieldIn(element, fields[3], 1, 100000, "the row height");
  const auto rows = fieldIn(element, fields[4], 0, assumptions::kPdf417MaxRows, "the rows");
  const auto columns =
      fieldIn(element, fields[5], 0, assumptions::kPdf417MaxColumns, "the columns");
  const auto level = fieldIn(element, fields[6], 0, assumptions::kPdf417MaxLevel, "the level");
  if (!x || !y || !module || !rowHeight || !rows || !columns || !level) {
    element.note("not drawn");
    return;
  }
  if (*rows != 0 && *rows < assumptions::kPdf417MinRows) {
    element.note("the rows must be 0 (as the data needs) or from " +
                 std::to_string(assumptions::kPdf417MinRows) + " to " +
                 std::to_string(assumptions::kPdf417MaxRows) + "; not drawn");
    return;
  }
  element.note("fields read as module width " + std::to_string(*module) + " dots, row height " +
               std::to_string(*rowHeight) + " dots, " + std::to_string(*rows) + " rows, " +
               std::to_string(*columns) + " columns, level " + std::to_string(*level) +
               " (assumed)");
  Pdf417Request request;
  request.moduleWidth = *module;
  request.rowHeight = *rowHeight;
  request.rows = *rows;
  request.columns = *columns;
  request.level = *level;
  request.data = toUtf8(element.resources.ansi->decode(fields[7]));
  placeSymbol(element, drawPdf417(request), element.placementAt(*x, *y, 0));
}

}  // namespace tagwright::preview
