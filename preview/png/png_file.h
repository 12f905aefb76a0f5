#pragma once

#include <string>

#include "preview/raster/bitmap.h"

namespace tagwright::preview {

// A PNG read into a 1-bit picture: each pixel put on white, black where its
// grey value is below the threshold. `error` says why there is no picture.
struct PngPicture {
  Bitmap image;
  std::string error;
};

// Refuses pictures of more than `maxPixels` before allocating them.
PngPicture readPngThresholded(const std::string& path, long long maxPixels);

// What a PNG file's header says, for checking what writePng wrote.
struct PngHeader {
  int width = 0;
  int height = 0;
  int bitDepth = 0;
  int colorType = -1;
  bool hasPhysicalSize = false;
  unsigned pixelsPerUnitX = 0;
  unsigned pixelsPerUnitY = 0;
  bool unitIsMetre = false;
  std::string error;
};
PngHeader readPngHeader(const std::string& path);

}  // namespace tagwright::preview
