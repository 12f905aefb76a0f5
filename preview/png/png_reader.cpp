#include <png.h>

#include <cstdio>
#include <csetjmp>
#include <vector>

#include "core/util/c_file.h"
#include "preview/png/png_structs.h"
#include "preview/assumptions.h"
#include "preview/png/png_file.h"

namespace tagwright::preview {
namespace {

// Reads the header; libpng reports errors by a long jump back here, and no
// object with a destructor lives in this frame.
bool readInfo(png_structp png, png_infop info, std::FILE* file, PngHeader& header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_read_info(png, info);
  header.width = static_cast<int>(png_get_image_width(png, info));
  header.height = static_cast<int>(png_get_image_height(png, info));
  header.bitDepth = png_get_bit_depth(png, info);
  header.colorType = png_get_color_type(png, info);
  png_uint_32 x = 0;
  png_uint_32 y = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &x, &y, &unit) != 0) {
    header.hasPhysicalSize = true;
    header.pixelsPerUnitX = x;
    header.pixelsPerUnitY = y;
    header.unitIsMetre = unit == PNG_RESOLUTION_METER;
  }
  return true;
}

// libpng's simplified reader, freed when it goes out of scope.
struct SimplifiedImage {
  png_image image{};
  SimplifiedImage() { image.version = PNG_IMAGE_VERSION; }
  ~SimplifiedImage() { png_image_free(&image); }
  SimplifiedImage(const SimplifiedImage&) = delete;
  SimplifiedImage& operator=(const SimplifiedImage&) = delete;
};

}  // namespace

PngHeader readPngHeader(const std::string& path) {
  PngHeader header;
  unique_c_file input = openCFile(path, "rb");
  if (!input) {
    header.error = "cannot open " + path;
    return header;
  }
  PngReadStructs structs;
  if (structs.info == nullptr) {
    header.error = "libpng could not start";
    return header;
  }
  if (!readInfo(structs.png, structs.info, input.get(), header)) {
    header.error = path + " is not a PNG file libpng can read";
  }
  return header;
}

PngPicture readPngThresholded(const std::string& path, long long maxPixels) {
  PngPicture picture;
  SimplifiedImage reader;
  if (png_image_begin_read_from_file(&reader.image, path.c_str()) == 0) {
    picture.error = path + " is not a PNG file libpng can read (" + reader.image.message + ")";
    return picture;
  }
  const long long pixels =
      static_cast<long long>(reader.image.width) * static_cast<long long>(reader.image.height);
  if (pixels > maxPixels || reader.image.width > 100000 || reader.image.height > 100000) {
    picture.error = path + " is " + std::to_string(reader.image.width) + " x " +
                    std::to_string(reader.image.height) + " pixels, more than a label can hold";
    return picture;
  }
  // Grey with alpha, so that transparent pixels can be put on white here.
  reader.image.format = PNG_FORMAT_GA;
  std::vector<png_byte> pixelsGa(PNG_IMAGE_SIZE(reader.image));
  if (png_image_finish_read(&reader.image, nullptr, pixelsGa.data(), 0, nullptr) == 0) {
    picture.error = path + " cannot be read (" + reader.image.message + ")";
    return picture;
  }
  const int width = static_cast<int>(reader.image.width);
  const int height = static_cast<int>(reader.image.height);
  picture.image = Bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    const png_byte* source =
        pixelsGa.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 2;
    std::uint8_t* target = picture.image.mutableRow(y);
    for (int x = 0; x < width; ++x) {
      const int grey = source[2 * x];
      const int alpha = source[2 * x + 1];
      const int onWhite = (grey * alpha + 255 * (255 - alpha)) / 255;
      target[x] = onWhite < assumptions::kImageBlackBelow ? 1 : 0;
    }
  }
  return picture;
}

}  // namespace tagwright::preview
