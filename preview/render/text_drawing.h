#pragma once

#include <string_view>

#include "preview/render/placement.h"
#include "preview/text/font_face.h"

namespace tagwright::preview {

// How a text is laid out: the font's line height, an optional fixed cell
// width (font I), the whole-number magnifications, the added gap between
// characters and whether it prints white on black.
struct TextStyle {
  int lineHeight = 17;
  int fixedCellWidth = 0;  // 0: each glyph's own advance
  int horizontalMagnification = 1;
  int verticalMagnification = 1;
  int gap = 0;
  bool whiteOnBlack = false;
};

// The box a text fills, upright, in dots: every pixel drawn lies in it.
struct TextExtent {
  int width = 0;
  int height = 0;
};

TextExtent measureText(FontFace& font, std::u32string_view text, const TextStyle& style);

// Draws the text with its box's top-left corner at the placement's anchor,
// turned as the placement says. Returns the box.
TextExtent drawText(Bitmap& label, const Placement& placement, FontFace& font,
                    std::u32string_view text, const TextStyle& style);

// The placement of an element point (dx, dy), for drawing a part of an
// element (a barcode's text) with the element's own turn.
Placement shifted(const Placement& placement, int dx, int dy);

}  // namespace tagwright::preview
