#include "preview/raster/bitmap.h"

#include <algorithm>

namespace tagwright::preview {
namespace {

std::uint8_t painted(std::uint8_t pixel, PaintMode mode) {
  switch (mode) {
    case PaintMode::Black: return 1;
    case PaintMode::White: return 0;
    case PaintMode::Invert: return static_cast<std::uint8_t>(pixel ^ 1);
  }
  return pixel;
}

}  // namespace

Bitmap::Bitmap(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

bool Bitmap::black(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return pixels_[index(x, y)] != 0;
}

void Bitmap::paint(int x, int y, PaintMode mode) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  std::uint8_t& pixel = pixels_[index(x, y)];
  pixel = painted(pixel, mode);
}

void Bitmap::fillRect(int x1, int y1, int x2, int y2, PaintMode mode) {
  const int left = std::max(std::min(x1, x2), 0);
  const int right = std::min(std::max(x1, x2), width_ - 1);
  const int top = std::max(std::min(y1, y2), 0);
  const int bottom = std::min(std::max(y1, y2), height_ - 1);
  for (int y = top; y <= bottom; ++y) {
    std::uint8_t* line = pixels_.data() + index(0, y);
    if (mode == PaintMode::Invert) {
      for (int x = left; x <= right; ++x) line[x] = static_cast<std::uint8_t>(line[x] ^ 1);
    } else if (left <= right) {
      std::fill(line + left, line + right + 1, mode == PaintMode::Black ? 1 : 0);
    }
  }
}

Point turnClockwise(Point p, int quarterTurns) {
  switch (((quarterTurns % 4) + 4) % 4) {
    case 1: return {-p.y, p.x};
    case 2: return {-p.x, -p.y};
    case 3: return {p.y, -p.x};
    default: return p;
  }
}

void Bitmap::draw(const Bitmap& element, int x, int y, int quarterTurns, PaintMode mode) {
  for (int ey = 0; ey < element.height_; ++ey) {
    const std::uint8_t* line = element.row(ey);
    for (int ex = 0; ex < element.width_; ++ex) {
      if (line[ex] == 0) continue;
      // A pixel is the unit square from (ex, ey) to (ex + 1, ey + 1); turning
      // it moves its top-left corner to another corner, so take the turned
      // square's minimum.
      const Point a = turnClockwise({ex, ey}, quarterTurns);
      const Point b = turnClockwise({ex + 1, ey + 1}, quarterTurns);
      paint(x + std::min(a.x, b.x), y + std::min(a.y, b.y), mode);
    }
  }
}

std::int64_t Bitmap::blackCount() const {
  return std::count(pixels_.begin(), pixels_.end(), std::uint8_t{1});
}

}  // namespace tagwright::preview
