#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// The default font: callers that open a face find its file here too.
#include "preview/text/font_locator.h"

namespace tagwright::preview {

// One horizontal run of black pixels of a glyph, in the glyph's own
// coordinates: x from `left` to `right` inclusive on row `y`, with y 0 the
// top of the font's line and x 0 the pen position.
struct GlyphRun {
  int y;
  int left;
  int right;
};

// A glyph rendered monochrome at one pixel height.
struct Glyph {
  int advance = 0;  // pixels to the next pen position
  std::vector<GlyphRun> runs;
};

// A scalable font, rendered monochrome by FreeType at the pixel heights the
// labels ask for. Each glyph is rendered once per height and kept, so that
// drawing a text is look-ups and no rendering once the characters are
// known.
class FontFace {
 public:
  // Nothing when FreeType cannot open the file; `error` says why.
  static std::unique_ptr<FontFace> open(const std::string& path, std::string& error);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // `lineHeight` is the whole line, ascender to descender, in pixels: every
  // run of every glyph lies in rows 0 .. lineHeight - 1.
  const Glyph& glyph(char32_t character, int lineHeight);

  const std::string& path() const { return path_; }

 private:
  struct Handles;
  FontFace(std::string path, std::unique_ptr<Handles> handles);
  Glyph render(char32_t character, int lineHeight);

  std::string path_;
  std::unique_ptr<Handles> handles_;
  int sizedFor_ = 0;  // the line height the face is set to
  std::unordered_map<std::uint64_t, Glyph> glyphs_;
};

}  // namespace tagwright::preview
