#include "check/element_extent.h"

#include <algorithm>

#include "check/symbol_rules.h"
#include "core/text/utf8.h"
#include "preview/assumptions.h"
#include "preview/barcode/barcode_drawing.h"
#include "preview/job/fields.h"
#include "preview/raster/bitmap.h"
#include "preview/render/element_context.h"
#include "preview/render/text_drawing.h"

namespace tagwright::cli {
namespace {

namespace assume = preview::assumptions;

struct Size {
  long long width = 0;
  long long height = 0;
};

int number(std::string_view field) { return preview::parseInteger(field).value_or(0); }

int quarterTurns(std::string_view field) {
  return assume::quarterTurnsClockwise(std::clamp(number(field), 0, 3));
}

// An upright element's box, in its own coordinates with its anchor at
// (0, 0), placed at (x, y) and turned clockwise about its anchor, as the
// preview places it.
ElementBox placedBox(int x, int y, ElementBox upright, int turns) {
  // The box covers the unit squares from its top-left corner to its
  // bottom-right one; turning moves those corners to opposite corners.
  const preview::Point a = preview::turnClockwise(
      {static_cast<int>(upright.left), static_cast<int>(upright.top)}, turns);
  const preview::Point b = preview::turnClockwise(
      {static_cast<int>(upright.right), static_cast<int>(upright.bottom)}, turns);
  return {x + std::min<long long>(a.x, b.x), y + std::min<long long>(a.y, b.y),
          x + std::max<long long>(a.x, b.x), y + std::max<long long>(a.y, b.y)};
}

// An upright element of `size` with its top-left corner at its anchor.
ElementBox placed(int x, int y, Size size, int turns) {
  return placedBox(x, y, ElementBox{0, 0, size.width, size.height}, turns);
}

ElementBox unite(const ElementBox& a, const ElementBox& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// The text style of an `A` (resident font) or `V` (downloaded font, drawn
// at font A's size) command, as the preview draws it.
preview::TextStyle textStyle(const WrittenElement& e, int dotsPerMm) {
  preview::TextStyle style;
  char font = e.fields[0].size() == 1 ? e.fields[0][0] : '\0';
  if (e.layout->method == Method::PutLoadedText) font = 'A';
  if (font < 'A' || font > 'I') font = assume::kUnknownFontDrawnAs;
  if (font == 'I') {
    style.lineHeight = assume::kFixedCellHeight;
    style.fixedCellWidth = assume::kFixedCellWidth;
  } else {
    style.lineHeight = preview::residentFontHeight(font, dotsPerMm);
  }
  style.horizontalMagnification = std::clamp(number(e.fields[3]), 1, assume::kMaxMagnification);
  style.verticalMagnification = std::clamp(number(e.fields[4]), 1, assume::kMaxMagnification);
  style.gap = std::max(number(e.fields[5]), 0);
  return style;
}

std::optional<ElementExtent> textExtent(const WrittenElement& e, int ox, int oy,
                                        CheckResources& r) {
  if (!r.font) return std::nullopt;
  const preview::CodePage& page = e.layout->oem ? r.oem : r.ansi;
  const preview::TextExtent extent =
      preview::measureText(*r.font, page.decode(e.fields[7]), textStyle(e, r.dotsPerMm));
  return ElementExtent{placed(ox + number(e.fields[1]), oy + number(e.fields[2]),
                              {extent.width, extent.height}, quarterTurns(e.fields[6])),
                       "the text"};
}

// A linear barcode as the preview draws it: its bars, and its human-readable
// texts centred in their boxes in the fallback font (they may be wider than
// the bars), turned as the printer turns the symbology.
std::optional<ElementExtent> barcodeExtent(const WrittenElement& e, int ox, int oy,
                                           CheckResources& r) {
  preview::LinearBarcodeRequest request;
  request.type = std::string(e.fields[0]);
  request.narrow = number(e.fields[3]);
  request.wide = number(e.fields[4]);
  request.height = number(e.fields[5]);
  request.readable = number(e.fields[7]) == 1;
  request.data = toUtf8(r.ansi.decode(e.fields[8]));
  const int fontHeight = preview::residentFontHeight(assume::kHumanReadableFont, r.dotsPerMm);
  const preview::SymbolDrawing drawing = preview::drawLinearBarcode(request, fontHeight);
  if (!drawing.error.empty()) return std::nullopt;
  ElementBox upright{0, 0, drawing.bars.width(), drawing.bars.height()};
  if (r.font) {
    for (const preview::SymbolText& text : drawing.texts) {
      preview::TextStyle style;
      style.lineHeight = text.fontHeight > 0 ? text.fontHeight : fontHeight;
      const preview::TextExtent extent =
          preview::measureText(*r.font, decodeUtf8Replacing(text.text), style);
      const long long left = text.x + (text.width - extent.width) / 2;
      upright = unite(upright, {left, text.y, left + extent.width, text.y + extent.height});
    }
  }
  const int turns =
      drawing.fixedQuarterTurns >= 0 ? drawing.fixedQuarterTurns : quarterTurns(e.fields[6]);
  const int x = ox + number(e.fields[1]);
  const int y = oy + number(e.fields[2]);
  BarsExtent bars;
  bars.box = placedBox(x, y, {0, 0, drawing.bars.width(), drawing.bars.height()}, turns);
  bars.quarterTurns = turns;
  bars.moduleDots = std::max(request.narrow, 1);
  if (const std::optional<preview::LinearType> type = preview::linearTypeFor(request.type)) {
    bars.symbology = std::string(type->name);
    bars.quietZone = preview::quietZoneOf(*type);
  }
  return ElementExtent{
      placedBox(x, y, upright, turns),
      request.readable ? "the barcode with its human-readable line" : "the barcode",
      std::move(bars)};
}

std::optional<ElementExtent> pdf417Extent(const WrittenElement& e, int ox, int oy,
                                          CheckResources& r) {
  const preview::SymbolSize size = preview::pdf417Size(pdf417RequestOf(e, r));
  if (!size.error.empty()) return std::nullopt;
  return ElementExtent{
      placed(ox + number(e.fields[0]), oy + number(e.fields[1]), {size.width, size.height}, 0),
      "the PDF417 symbol"};
}

// Boxes and areas: two corners in any order, the corner dots included.
ElementExtent cornersExtent(const WrittenElement& e, int ox, int oy, const char* what) {
  static_assert(assume::kCornersInclusive);
  const int x1 = number(e.fields[0]);
  const int y1 = number(e.fields[1]);
  const int x2 = number(e.fields[2]);
  const int y2 = number(e.fields[3]);
  return {{ox + std::min(x1, x2), oy + std::min(y1, y2), ox + std::max(x1, x2) + 1LL,
           oy + std::max(y1, y2) + 1LL},
          what};
}

// A stored image: its local picture, or the frame with its name that the
// preview draws when it has none.
std::optional<ElementExtent> imageExtent(const WrittenElement& e, int ox, int oy,
                                         CheckResources& r) {
  if (e.fields[2].empty()) return std::nullopt;
  const std::u32string name = r.oem.decode(e.fields[2]);
  const preview::StoredImage& stored = r.images.find(toUtf8(name));
  const int x = ox + number(e.fields[0]);
  const int y = oy + number(e.fields[1]);
  if (!stored.image.empty()) {
    return ElementExtent{placed(x, y, {stored.image.width(), stored.image.height()}, 0),
                         "the image"};
  }
  preview::TextStyle style;
  style.lineHeight = preview::residentFontHeight('A', r.dotsPerMm);
  preview::TextExtent text{
      style.lineHeight * static_cast<int>(std::min<std::size_t>(name.size(), 64)) / 2,
      style.lineHeight};
  if (r.font) text = preview::measureText(*r.font, name, style);
  const int inset = assume::kMissingImageFrameDots + assume::kMissingImagePaddingDots;
  return ElementExtent{placed(x, y, {text.width + 2LL * inset, text.height + 2LL * inset}, 0),
                       "the image frame"};
}

}  // namespace

std::optional<ElementExtent> elementExtent(const WrittenElement& e, int originX, int originY,
                                           CheckResources& resources) {
  switch (e.layout->method) {
    case Method::PutText:
    case Method::PutLoadedText: return textExtent(e, originX, originY, resources);
    case Method::PutBarcode: return barcodeExtent(e, originX, originY, resources);
    case Method::PutBarcodePDF417: return pdf417Extent(e, originX, originY, resources);
    case Method::PutRectangle: return cornersExtent(e, originX, originY, "the box");
    case Method::InversRectangle: return cornersExtent(e, originX, originY, "the area");
    case Method::PutImage: return imageExtent(e, originX, originY, resources);
    default: return std::nullopt;
  }
}

}  // namespace tagwright::cli
