#include "preview/raster/bitmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tagwright::preview {
namespace {

// The picture as rows of '#' (black) and '.' (white).
std::vector<std::string> rowsOf(const Bitmap& bitmap) {
  std::vector<std::string> rows;
  for (int y = 0; y < bitmap.height(); ++y) {
    std::string row;
    for (int x = 0; x < bitmap.width(); ++x) row += bitmap.black(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(Bitmap, FillRectCoversBothCornersInAnyOrderAndClipsAtTheEdges) {
  Bitmap bitmap(6, 4);
  bitmap.fillRect(4, 2, 1, 1);
  EXPECT_EQ(rowsOf(bitmap), (std::vector<std::string>{"......", ".####.", ".####.", "......"}));
  bitmap.fillRect(-5, 3, 100, 100);
  EXPECT_EQ(rowsOf(bitmap)[3], "######");
  EXPECT_EQ(bitmap.blackCount(), 8 + 6);
}

TEST(Bitmap, PaintModesBlackInvertAndWhite) {
  Bitmap bitmap(4, 1);
  bitmap.fillRect(0, 0, 1, 0);
  bitmap.fillRect(1, 0, 2, 0, PaintMode::Invert);
  EXPECT_EQ(rowsOf(bitmap)[0], "#.#.");
  bitmap.fillRect(0, 0, 0, 0, PaintMode::Black);  // black over black stays black
  bitmap.fillRect(2, 0, 3, 0, PaintMode::White);
  EXPECT_EQ(rowsOf(bitmap)[0], "#...");
  bitmap.paint(3, 0, PaintMode::Invert);
  bitmap.paint(-1, 0);  // outside: nothing
  EXPECT_EQ(rowsOf(bitmap)[0], "#..#");
}

// An L-shaped element of 3 x 2: its corner pixel tells the turn apart.
Bitmap lShape() {
  Bitmap element(3, 2);
  element.fillRect(0, 0, 2, 0);
  element.paint(0, 1);
  return element;
}

struct TurnCase {
  int quarterTurns;
  int anchorX;
  int anchorY;
  std::vector<std::string> expected;
};

class BitmapDraw : public testing::TestWithParam<TurnCase> {};

TEST_P(BitmapDraw, TurnsClockwiseAboutTheTopLeftAnchor) {
  const TurnCase& turn = GetParam();
  Bitmap label(6, 6);
  label.draw(lShape(), turn.anchorX, turn.anchorY, turn.quarterTurns);
  EXPECT_EQ(rowsOf(label), turn.expected);
}

// Anchor (3, 3): upright the element lies right of and below it; one turn
// clockwise puts it left of the anchor running down; two, left and above;
// three, right of the anchor running up.
INSTANTIATE_TEST_SUITE_P(
    FourTurns, BitmapDraw,
    testing::Values(TurnCase{0, 3, 3, {"......", "......", "......", "...###", "...#..", "......"}},
                    TurnCase{1, 3, 3, {"......", "......", "......", ".##...", "..#...", "..#..."}},
                    TurnCase{2, 3, 3, {"......", "..#...", "###...", "......", "......", "......"}},
                    TurnCase{3, 3, 3, {"...#..", "...#..", "...##.", "......", "......", "......"}},
                    TurnCase{
                        5, 3, 3, {"......", "......", "......", ".##...", "..#...", "..#..."}}));

TEST(Bitmap, TurnClockwiseOfAPoint) {
  EXPECT_EQ(turnClockwise({2, 1}, 1).x, -1);
  EXPECT_EQ(turnClockwise({2, 1}, 1).y, 2);
  EXPECT_EQ(turnClockwise({2, 1}, 2).x, -2);
  EXPECT_EQ(turnClockwise({2, 1}, 3).y, -2);
  EXPECT_EQ(turnClockwise({2, 1}, -1).x, 1);  // -1 is three turns
}

TEST(Bitmap, NegativeSizeIsEmpty) {
  const Bitmap bitmap(-3, 5);
  EXPECT_TRUE(bitmap.empty());
  EXPECT_FALSE(bitmap.black(0, 0));
}

}  // namespace
}  // namespace tagwright::preview
