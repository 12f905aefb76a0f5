#include <string>

#include "core/text/utf8.h"
#include "preview/assumptions.h"
#include "preview/job/fields.h"
#include "preview/render/elements.h"
#include "preview/render/text_drawing.h"

namespace tagwright::preview {
namespace {

// A frame with the image's name in it, for an image the preview has no
// picture of.
void drawNamedFrame(const ElementContext& element, const Placement& placement,
                    const std::u32string& name) {
  const int frame = assumptions::kMissingImageFrameDots;
  const int inset = frame + assumptions::kMissingImagePaddingDots;
  TextStyle style;
  style.lineHeight = residentFontHeight('A', element.resources.dotsPerMm);
  FontFace* font = element.resources.font;
  TextExtent text{style.lineHeight * static_cast<int>(std::min<std::size_t>(name.size(), 64)) / 2,
                  style.lineHeight};
  if (font != nullptr) text = measureText(*font, name, style);
  const int right = text.width + 2 * inset - 1;
  const int bottom = text.height + 2 * inset - 1;
  Bitmap& label = element.label;
  const int left = placement.x;
  const int top = placement.y;
  label.fillRect(left, top, left + right, top + frame - 1);
  label.fillRect(left, top + bottom - frame + 1, left + right, top + bottom);
  label.fillRect(left, top, left + frame - 1, top + bottom);
  label.fillRect(left + right - frame + 1, top, left + right, top + bottom);
  if (font != nullptr) drawText(label, shifted(placement, inset, inset), *font, name, style);
}

}  // namespace

void drawStoredImage(const ElementContext& element) {
  const std::vector<std::string_view> fields = splitFields(element.command.line.substr(1), 3);
  if (fields.size() < 3 || fields[2].empty()) {
    element.note("a stored image needs 3 fields (x,y,name); not drawn");
    return;
  }
  const auto x = positionField(element, fields[0], "x");
  const auto y = positionField(element, fields[1], "y");
  if (!x || !y) {
    element.note("not drawn");
    return;
  }
  const std::u32string name = element.resources.oem->decode(fields[2]);
  const std::string fileName = toUtf8(name);
  const StoredImage& stored = element.resources.images->find(fileName);
  const Placement placement = element.placementAt(*x, *y, 0);
  if (stored.image.empty()) {
    element.note("the stored image " + fileName + " is not in the stream and has no local " +
                 "picture (" + stored.error + "): drawn as a frame with its name");
    drawNamedFrame(element, placement, name);
    return;
  }
  drawPlaced(element.label, placement, stored.image);
}

void drawInlineImage(const ElementContext& element) {
  const std::vector<std::string_view> fields = splitFields(element.command.line.substr(1), 4);
  const long long size = inlineImageDataSize(element.command.line);
  if (fields.size() < 4 || size < 0) {
    element.note("an inline image needs 4 fields (x,y,bytes,rows) of whole numbers; not drawn");
    return;
  }
  const auto x = positionField(element, fields[0], "x");
  const auto y = positionField(element, fields[1], "y");
  const auto bytesPerRow = parseInteger(fields[2]);
  if (!x || !y || !bytesPerRow || *bytesPerRow <= 0) {
    element.note("not drawn");
    return;
  }
  const std::string_view data = element.command.data;
  const auto rowBytes = static_cast<std::size_t>(*bytesPerRow);
  const int left = element.originX + *x;
  const int top = element.originY + *y;
  for (std::size_t start = 0, row = 0; start < data.size(); start += rowBytes, ++row) {
    const std::string_view line = data.substr(start, rowBytes);
    const int rowY = top + static_cast<int>(row);
    int column = 0;
    int runStart = -1;
    for (const char byte : line) {
      for (int bit = 7; bit >= 0; --bit, ++column) {
        const bool black = (static_cast<unsigned char>(byte) >> bit & 1) != 0;
        if (black && runStart < 0) runStart = column;
        if (!black && runStart >= 0) {
          element.label.fillRect(left + runStart, rowY, left + column - 1, rowY);
          runStart = -1;
        }
      }
      if (column > 100000) break;  // beyond every label's width
    }
    if (runStart >= 0) element.label.fillRect(left + runStart, rowY, left + column - 1, rowY);
    if (row > 100000) break;
  }
}

}  // namespace tagwright::preview
