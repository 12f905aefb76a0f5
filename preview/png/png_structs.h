#pragma once

#include <png.h>

namespace tagwright::preview {

// libpng's error and warning handlers: errors jump back to the setjmp of
// the call that failed (no exception crosses libpng), and nothing is
// printed; the caller's message says what failed.
[[noreturn]] inline void pngJumpBack(png_structp png, png_const_charp) { png_longjmp(png, 1); }
inline void pngIgnoreWarning(png_structp, png_const_charp) {}

// libpng's read or write structures with the handlers above, freed when
// they go out of scope; `info` is null when libpng could not start.
template <bool Reading>
struct PngStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  PngStructs() {
    png = Reading ? png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngJumpBack,
                                           pngIgnoreWarning)
                  : png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngJumpBack,
                                            pngIgnoreWarning);
    if (png != nullptr) info = png_create_info_struct(png);
  }
  ~PngStructs() {
    png_infopp infoAddress = info != nullptr ? &info : nullptr;
    if (Reading) {
      png_destroy_read_struct(&png, infoAddress, nullptr);
    } else {
      png_destroy_write_struct(&png, infoAddress);
    }
  }
  PngStructs(const PngStructs&) = delete;
  PngStructs& operator=(const PngStructs&) = delete;
};

using PngReadStructs = PngStructs<true>;
using PngWriteStructs = PngStructs<false>;

}  // namespace tagwright::preview
