#pragma once

#include <cstdint>
#include <vector>

namespace tagwright::preview {

// How an element's pixels combine with what is already on the label: black
// over white (a later element never whitens an earlier one), or
// exclusive-or (black pixels invert what lies under them), or white (for
// the knocked-out glyphs of white-on-black text, inside its own black box).
enum class PaintMode { Black, Invert, White };

// A 1-bit picture, one byte a pixel (1 black, 0 white) for simple, fast
// indexing; labels are at most 64 M dots, and the caller checks that before
// making one. Coordinates outside the picture are clipped, never an error:
// an element that runs off the label is simply cut.
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  bool black(int x, int y) const;
  void paint(int x, int y, PaintMode mode = PaintMode::Black);

  // The rectangle from (x1, y1) to (x2, y2) inclusive, corners in any order.
  void fillRect(int x1, int y1, int x2, int y2, PaintMode mode = PaintMode::Black);

  // Draws `element` with its top-left corner at (x, y), turned by
  // `quarterTurns` x 90 degrees clockwise about that corner. Only the
  // element's black pixels are painted.
  void draw(const Bitmap& element, int x, int y, int quarterTurns,
            PaintMode mode = PaintMode::Black);

  // Number of black pixels; for tests and notes.
  std::int64_t blackCount() const;

  // One row, for writers; `y` in range.
  std::uint8_t* mutableRow(int y) { return pixels_.data() + index(0, y); }
  const std::uint8_t* row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> pixels_;
};

// Where a point (x, y) of an element lands when the element is turned by
// `quarterTurns` clockwise about its own origin.
struct Point {
  int x;
  int y;
};
Point turnClockwise(Point p, int quarterTurns);

}  // namespace tagwright::preview
