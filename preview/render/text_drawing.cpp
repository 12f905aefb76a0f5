#include "preview/render/text_drawing.h"

#include <algorithm>

namespace tagwright::preview {
namespace {

// No label is wider than 12000 dots: characters whose pen position lies
// beyond this are off every label, and stopping there keeps the sums in
// range for any text length.
constexpr int kPenLimit = 1 << 24;

int advanceOf(FontFace& font, char32_t character, const TextStyle& style) {
  const int cell = style.fixedCellWidth > 0 ? style.fixedCellWidth
                                            : font.glyph(character, style.lineHeight).advance;
  return cell * style.horizontalMagnification;
}

}  // namespace

Placement shifted(const Placement& placement, int dx, int dy) {
  const Point turned = turnClockwise({dx, dy}, placement.quarterTurns);
  return {placement.x + turned.x, placement.y + turned.y, placement.quarterTurns};
}

TextExtent measureText(FontFace& font, std::u32string_view text, const TextStyle& style) {
  int width = 0;
  for (std::size_t i = 0; i < text.size() && width < kPenLimit; ++i) {
    if (i > 0) width += style.gap;
    width += advanceOf(font, text[i], style);
  }
  return {std::max(width, 0), style.lineHeight * style.verticalMagnification};
}

TextExtent drawText(Bitmap& label, const Placement& placement, FontFace& font,
                    std::u32string_view text, const TextStyle& style) {
  const TextExtent box = measureText(font, text, style);
  if (box.width == 0 || box.height == 0) return box;
  const int hm = style.horizontalMagnification;
  const int vm = style.verticalMagnification;
  const PaintMode glyphMode = style.whiteOnBlack ? PaintMode::White : PaintMode::Black;
  if (style.whiteOnBlack) fillPlaced(label, placement, 0, 0, box.width - 1, box.height - 1);
  int pen = 0;
  for (std::size_t i = 0; i < text.size() && pen < kPenLimit; ++i) {
    if (i > 0) pen += style.gap;
    const Glyph& glyph = font.glyph(text[i], style.lineHeight);
    // A glyph is cut to its cell (font I) or to the text's box.
    int shift = 0;
    int cellLeft = 0;
    int cellRight = box.width - 1;
    if (style.fixedCellWidth > 0) {
      shift = (style.fixedCellWidth - glyph.advance) / 2;
      cellLeft = pen;
      cellRight = pen + style.fixedCellWidth * hm - 1;
    }
    for (const GlyphRun& run : glyph.runs) {
      const int left = std::max(pen + (run.left + shift) * hm, cellLeft);
      const int right = std::min(pen + (run.right + shift + 1) * hm - 1, cellRight);
      fillPlaced(label, placement, left, run.y * vm, right, (run.y + 1) * vm - 1, glyphMode);
    }
    pen += advanceOf(font, text[i], style);
  }
  return box;
}

}  // namespace tagwright::preview
