#include "preview/text/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/util/unique_any.h"
#include "preview/assumptions.h"
#include "preview/util/utf8_path.h"

namespace tagwright::preview {

// The face goes before the library it was made by, and before the file's
// bytes it reads from.
struct FontFace::Handles {
  std::vector<FT_Byte> file;
  unique_resource<FT_Library, &FT_Done_FreeType> library;
  unique_resource<FT_Face, &FT_Done_Face> face;
};

std::unique_ptr<FontFace> FontFace::open(const std::string& path, std::string& error) {
  auto handles = std::make_unique<Handles>();
  if (FT_Init_FreeType(handles->library.put()) != 0) {
    error = "FreeType could not start";
    return nullptr;
  }
  if (path.empty()) {
    error = "no font file: " + missingDefaultFontAdvice();
    return nullptr;
  }
  // The file is read here rather than by FreeType, which opens names in the
  // ANSI code page on Windows: a UTF-8 name opens the same file everywhere.
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  if (!in) {
    error = "the font file " + path + " cannot be read";
    return nullptr;
  }
  handles->file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (FT_New_Memory_Face(handles->library.get(), handles->file.data(),
                         static_cast<FT_Long>(handles->file.size()), 0, handles->face.put()) != 0) {
    error = "the font file " + path + " cannot be opened as a font";
    return nullptr;
  }
  if (!FT_IS_SCALABLE(handles->face.get())) {
    error = "the font file " + path + " is not a scalable font";
    return nullptr;
  }
  return std::unique_ptr<FontFace>(new FontFace(path, std::move(handles)));
}

FontFace::FontFace(std::string path, std::unique_ptr<Handles> handles)
    : path_(std::move(path)), handles_(std::move(handles)) {}

FontFace::~FontFace() = default;

const Glyph& FontFace::glyph(char32_t character, int lineHeight) {
  const std::uint64_t key =
      static_cast<std::uint64_t>(character) << 16 | static_cast<std::uint64_t>(lineHeight & 0xFFFF);
  auto found = glyphs_.find(key);
  if (found != glyphs_.end()) return found->second;
  return glyphs_.emplace(key, render(character, lineHeight)).first->second;
}

Glyph FontFace::render(char32_t character, int lineHeight) {
  Glyph glyph;
  if (lineHeight < 1) return glyph;
  FT_Face face = handles_->face.get();
  // The line (ascender to descender) is `lineHeight` pixels: the em is
  // that share of it.
  static_assert(assumptions::kFontHeightIsAscenderToDescender);
  const double lineUnits = face->ascender - face->descender;
  const double emPixels = lineHeight * face->units_per_EM / lineUnits;
  if (sizedFor_ != lineHeight) {
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(emPixels * 64)), 72, 72);
    sizedFor_ = lineHeight;
  }
  const int baseline =
      static_cast<int>(std::lround(face->ascender * emPixels / face->units_per_EM));
  if (FT_Load_Char(face, character, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) !=
      0) {
    return glyph;
  }
  const FT_GlyphSlot slot = face->glyph;
  glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return glyph;
  const int width = static_cast<int>(bitmap.width);
  const int rows = static_cast<int>(bitmap.rows);
  for (int row = 0; row < rows; ++row) {
    const int y = baseline - slot->bitmap_top + row;
    if (y < 0 || y >= lineHeight) continue;  // outside the line: cut
    const unsigned char* bits = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    int x = 0;
    while (x < width) {
      const auto isBlack = [&](int column) {
        return (bits[column >> 3] & (0x80 >> (column & 7))) != 0;
      };
      if (!isBlack(x)) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < width && isBlack(x)) ++x;
      glyph.runs.push_back({y, slot->bitmap_left + start, slot->bitmap_left + x - 1});
    }
  }
  return glyph;
}

}  // namespace tagwright::preview
