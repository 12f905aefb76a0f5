#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/util/c_file.h"
#include "preview/png/png_structs.h"
#include "preview/preview.h"

namespace tagwright::preview {
namespace {

// Packs one picture row into PNG grey bits: 0 black, 1 white, leftmost
// pixel in the most significant bit.
void packRow(const std::uint8_t* pixels, int width, png_byte* packed) {
  const std::size_t bytes = (static_cast<std::size_t>(width) + 7) / 8;
  std::memset(packed, 0xFF, bytes);
  for (int x = 0; x < width; ++x) {
    if (pixels[x] != 0) {
      packed[x >> 3] = static_cast<png_byte>(packed[x >> 3] & ~(0x80 >> (x & 7)));
    }
  }
}

void appendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))
      ->append(reinterpret_cast<const char*>(data), length);
}
void flushNothing(png_structp) {}

// libpng reports errors by a long jump back here; the buffers live in the
// caller's frame, so no destructor is skipped.
// Into `file`, or with `file` null into `memory`.
bool writeRows(png_structp png, png_infop info, std::FILE* file, std::string* memory,
               const Bitmap& image, png_uint_32 pixelsPerMetre, png_byte* row) {
  if (setjmp(png_jmpbuf(png))) return false;
  if (file != nullptr) {
    png_init_io(png, file);
  } else {
    png_set_write_fn(png, memory, appendToString, flushNothing);
  }
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
               static_cast<png_uint_32>(image.height()), 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(png, info, pixelsPerMetre, pixelsPerMetre, PNG_RESOLUTION_METER);
  png_write_info(png, info);
  for (int y = 0; y < image.height(); ++y) {
    packRow(image.row(y), image.width(), row);
    png_write_row(png, row);
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

Status writePng(const Bitmap& image, int dotsPerMm, const std::string& path) {
  if (image.empty()) return Status::failure("the picture is empty: nothing to write to " + path);
  unique_c_file output = openCFile(path, "wb");
  if (!output) return Status::failure("cannot write " + path + ": " + std::strerror(errno));
  PngWriteStructs structs;
  if (structs.info == nullptr) return Status::failure(std::string("libpng could not start"));
  std::vector<png_byte> row((static_cast<std::size_t>(image.width()) + 7) / 8);
  const auto pixelsPerMetre = static_cast<png_uint_32>(dotsPerMm) * 1000U;
  if (!writeRows(structs.png, structs.info, output.get(), nullptr, image, pixelsPerMetre,
                 row.data())) {
    return Status::failure("libpng could not write " + path);
  }
  if (!closeCFile(output))
    return Status::failure("cannot finish writing " + path + ": " + std::strerror(errno));
  return Status::success();
}

Result<std::string> encodePng(const Bitmap& image, int dotsPerMm) {
  if (image.empty()) return Result<std::string>::failure("the picture is empty");
  PngWriteStructs structs;
  if (structs.info == nullptr) return Result<std::string>::failure("libpng could not start");
  std::vector<png_byte> row((static_cast<std::size_t>(image.width()) + 7) / 8);
  const auto pixelsPerMetre = static_cast<png_uint_32>(dotsPerMm) * 1000U;
  std::string memory;
  if (!writeRows(structs.png, structs.info, nullptr, &memory, image, pixelsPerMetre, row.data())) {
    return Result<std::string>::failure("libpng could not make the picture");
  }
  return memory;
}

}  // namespace tagwright::preview
