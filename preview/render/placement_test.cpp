#include "preview/render/placement.h"

#include <gtest/gtest.h>

namespace tagwright::preview {
namespace {

bool samePicture(const Bitmap& a, const Bitmap& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.black(x, y) != b.black(x, y)) return false;
    }
  }
  return true;
}

// An element with rows that repeat (merged into tall runs) and rows that
// do not.
Bitmap sampleElement() {
  Bitmap element(7, 5);
  element.fillRect(0, 0, 1, 2);
  element.fillRect(4, 0, 4, 2);
  element.fillRect(2, 3, 6, 3);
  element.paint(6, 4);
  return element;
}

TEST(Placement, DrawPlacedPaintsWhatBitmapDrawPaintsInEveryTurn) {
  for (int turns = 0; turns < 4; ++turns) {
    Bitmap byRuns(20, 20);
    Bitmap byPixels(20, 20);
    drawPlaced(byRuns, {10, 9, turns}, sampleElement());
    byPixels.draw(sampleElement(), 10, 9, turns);
    EXPECT_TRUE(samePicture(byRuns, byPixels)) << turns << " quarter turns";
    EXPECT_EQ(byRuns.blackCount(), sampleElement().blackCount());
  }
}

TEST(Placement, FillPlacedTurnsARectangleAboutTheAnchor) {
  Bitmap label(30, 30);
  fillPlaced(label, {15, 15, 1}, 2, 0, 5, 1);  // 4 wide, 2 high, upright
  // One turn clockwise: 2 wide, 4 high, left of the anchor, from y 17.
  EXPECT_EQ(label.blackCount(), 8);
  EXPECT_TRUE(label.black(13, 17));
  EXPECT_TRUE(label.black(14, 20));
  EXPECT_FALSE(label.black(15, 17));
  EXPECT_FALSE(label.black(14, 21));
}

TEST(Placement, InvertModeIsExclusiveOr) {
  Bitmap label(10, 10);
  Bitmap element(2, 2);
  element.fillRect(0, 0, 1, 1);
  drawPlaced(label, {3, 3, 0}, element, PaintMode::Invert);
  drawPlaced(label, {4, 3, 0}, element, PaintMode::Invert);
  EXPECT_EQ(label.blackCount(), 4);  // the shared column inverted twice
  EXPECT_FALSE(label.black(4, 3));
  EXPECT_TRUE(label.black(5, 4));
}

}  // namespace
}  // namespace tagwright::preview
