#include "preview/state/label_geometry.h"

#include <cmath>
#include <cstdio>

#include "preview/assumptions.h"

namespace tagwright::preview {
namespace {

std::string millimetres(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

long long millimetresToDots(double millimetres, int dotsPerMm) {
  return std::llround(millimetres * dotsPerMm);
}

LabelSize labelSizeOf(const PrinterSetup& setup, int dotsPerMm) {
  LabelSize size;
  const std::string named =
      millimetres(setup.widthMm) + " x " + millimetres(setup.lengthMm) + " mm (width x length)";
  if (setup.widthMm > assumptions::kMaxSideMm || setup.lengthMm > assumptions::kMaxSideMm) {
    size.error = "the label " + named + " is larger than a printer can hold (at most " +
                 std::to_string(assumptions::kMaxSideMm) + " mm on a side): not drawn";
    return size;
  }
  const long long width = millimetresToDots(setup.widthMm, dotsPerMm);
  const long long height = millimetresToDots(setup.lengthMm, dotsPerMm);
  const std::string dots = std::to_string(width) + " x " + std::to_string(height) + " dots";
  if (width < 1 || height < 1) {
    size.error = "the label " + named + " has no area at " + std::to_string(dotsPerMm) +
                 " dots per mm (" + dots + "): not drawn";
    return size;
  }
  if (width * height > assumptions::kMaxDots) {
    size.error = "the label " + named + ", " + dots + ", is larger than a printer can hold (at " +
                 "most 64 M dots): not drawn";
    return size;
  }
  size.widthDots = static_cast<int>(width);
  size.heightDots = static_cast<int>(height);
  return size;
}

}  // namespace tagwright::preview
