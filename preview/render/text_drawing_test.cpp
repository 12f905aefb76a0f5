#include "preview/render/text_drawing.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tagwright::preview {
namespace {

std::unique_ptr<FontFace> defaultFont() {
  std::string error;
  std::unique_ptr<FontFace> font = FontFace::open(findDefaultFontFile(), error);
  EXPECT_TRUE(font) << error;
  return font;
}

struct Ink {
  int left = 1 << 30;
  int top = 1 << 30;
  int right = -1;
  int bottom = -1;
  long long pixels = 0;
};

Ink inkOf(const Bitmap& bitmap) {
  Ink ink;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      if (!bitmap.black(x, y)) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
      ++ink.pixels;
    }
  }
  return ink;
}

struct StyleCase {
  int lineHeight;
  int fixedCell;
  int hm;
  int vm;
  int gap;
};

class TextBox : public testing::TestWithParam<StyleCase> {};

// The ink of every text lies in the box that its font, magnification and
// gap give, and fills most of its height (a 'g' reaches down, an 'A' up).
TEST_P(TextBox, InkLiesInsideTheBoxAndSpansMostOfIt) {
  const StyleCase& c = GetParam();
  std::unique_ptr<FontFace> font = defaultFont();
  ASSERT_TRUE(font);
  TextStyle style{c.lineHeight, c.fixedCell, c.hm, c.vm, c.gap, false};
  const std::u32string text = U"Ag\u00C9j|W\u0416";
  const TextExtent box = measureText(*font, text, style);
  EXPECT_EQ(box.height, c.lineHeight * c.vm);
  if (c.fixedCell > 0) {
    EXPECT_EQ(box.width, static_cast<int>(text.size()) * (c.fixedCell * c.hm + c.gap) - c.gap);
  }
  Bitmap label(box.width + 40, box.height + 40);
  const TextExtent drawn = drawText(label, {20, 20, 0}, *font, text, style);
  EXPECT_EQ(drawn.width, box.width);
  const Ink ink = inkOf(label);
  EXPECT_GE(ink.left, 20);
  EXPECT_GE(ink.top, 20);
  EXPECT_LT(ink.right, 20 + box.width);
  EXPECT_LT(ink.bottom, 20 + box.height);
  EXPECT_GT(ink.bottom - ink.top + 1, box.height * 7 / 10);
  EXPECT_GT(ink.right - ink.left + 1, box.width * 8 / 10);
}

INSTANTIATE_TEST_SUITE_P(FontsMagnificationsGaps, TextBox,
                         testing::Values(StyleCase{17, 0, 1, 1, 0}, StyleCase{17, 0, 2, 3, 4},
                                         StyleCase{25, 0, 1, 1, 1}, StyleCase{83, 0, 1, 2, 0},
                                         StyleCase{125, 0, 1, 1, 0}, StyleCase{26, 16, 1, 1, 0},
                                         StyleCase{26, 16, 3, 2, 5}));

TEST(TextDrawing, MagnificationReplicatesPixels) {
  std::unique_ptr<FontFace> font = defaultFont();
  ASSERT_TRUE(font);
  Bitmap single(200, 100);
  Bitmap doubled(400, 300);
  drawText(single, {0, 0, 0}, *font, U"H1", TextStyle{25, 0, 1, 1, 0, false});
  drawText(doubled, {0, 0, 0}, *font, U"H1", TextStyle{25, 0, 2, 3, 0, false});
  EXPECT_EQ(doubled.blackCount(), single.blackCount() * 6);
  for (int y = 0; y < 25; ++y) {
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(single.black(x, y), doubled.black(2 * x + 1, 3 * y + 2)) << x << "," << y;
    }
  }
}

TEST(TextDrawing, TurnedTextKeepsItsPixelCountAndLiesWhereTheTurnPutsIt) {
  std::unique_ptr<FontFace> font = defaultFont();
  ASSERT_TRUE(font);
  const TextStyle style{17, 0, 1, 1, 2, false};
  const TextExtent box = measureText(*font, U"Turn 90", style);
  Bitmap upright(300, 300);
  drawText(upright, {150, 150, 0}, *font, U"Turn 90", style);
  for (int turns = 1; turns < 4; ++turns) {
    Bitmap turned(300, 300);
    drawText(turned, {150, 150, turns}, *font, U"Turn 90", style);
    EXPECT_EQ(turned.blackCount(), upright.blackCount());
    const Ink ink = inkOf(turned);
    if (turns == 1) {  // runs down, left of the anchor
      EXPECT_GE(ink.left, 150 - box.height);
      EXPECT_LT(ink.right, 150);
      EXPECT_GE(ink.top, 150);
      EXPECT_LT(ink.bottom, 150 + box.width);
    } else if (turns == 2) {  // upside down, left of and above the anchor
      EXPECT_LT(ink.right, 150);
      EXPECT_LT(ink.bottom, 150);
      EXPECT_GE(ink.left, 150 - box.width);
    } else {  // runs up, right of the anchor
      EXPECT_GE(ink.left, 150);
      EXPECT_LT(ink.bottom, 150);
      EXPECT_GE(ink.top, 150 - box.width);
    }
  }
}

TEST(TextDrawing, WhiteOnBlackFillsTheBoxAndKnocksOutTheGlyphs) {
  std::unique_ptr<FontFace> font = defaultFont();
  ASSERT_TRUE(font);
  Bitmap normal(200, 60);
  Bitmap reverse(200, 60);
  const TextExtent box =
      drawText(normal, {5, 5, 0}, *font, U"Sale", TextStyle{25, 0, 1, 1, 0, false});
  drawText(reverse, {5, 5, 0}, *font, U"Sale", TextStyle{25, 0, 1, 1, 0, true});
  EXPECT_EQ(reverse.blackCount() + normal.blackCount(),
            static_cast<long long>(box.width) * box.height);
  EXPECT_TRUE(reverse.black(5, 5));
  EXPECT_FALSE(reverse.black(4, 5));
}

}  // namespace
}  // namespace tagwright::preview
