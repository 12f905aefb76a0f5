#pragma once

#include <string>
#include <string_view>

namespace tagwright::cli {

// The label an element is placed on, as the preview draws it: its size in
// dots and millimetres, and where the label's (0, 0) lies on the picture
// (the left margin and vertical offset move everything).
struct LabelFrame {
  int widthDots = 0;
  int heightDots = 0;
  double widthMm = 0;
  double heightMm = 0;
  int originX = 0;
  int originY = 0;
  std::string error;  // non-empty: the preview draws no such label
};

// The frame that a label's set-up commands (StartLabel's header) give, at
// `dotsPerMm`; the preview's defaults where the header says nothing.
LabelFrame labelFrameOf(std::string_view header, int dotsPerMm);

}  // namespace tagwright::cli
