// Barcodes and PDF417 through the renderer: placed at their anchor, turned,
// with their human-readable line in font A, and refused with a note that
// leaves the rest of the label drawn.
#include <gtest/gtest.h>

#include <string>

#include "preview/preview.h"

namespace tagwright::preview {
namespace {

struct Ink {
  int left = 1 << 30;
  int top = 1 << 30;
  int right = -1;
  int bottom = -1;
};

Ink inkOf(const Bitmap& image) {
  Ink ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!image.black(x, y)) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

// One label 99 x 40 mm (at 8 dots per mm 792 x 320 dots) with the given
// element lines, which start at byte 15.
LabelPicture drawn(const std::string& elements, int dotsPerMm = 8) {
  PreviewOptions options;
  options.dotsPerMm = dotsPerMm;
  Previewer previewer(options);
  JobPreview preview = previewer.renderJob("^W99\r^Q40,3\r^L\r" + elements + "E\r");
  EXPECT_EQ(preview.labels.size(), 1u);
  return std::move(preview.labels.at(0));
}

bool noted(const LabelPicture& label, std::size_t offset, const std::string& part) {
  for (const PreviewNote& note : label.notes) {
    if (note.offset == offset && note.text.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST(SymbolElements, LinearBarcodeLiesAtItsAnchorWithItsHeight) {
  const LabelPicture label = drawn("BQ,40,30,2,4,50,0,0,ABC123\r");
  const Ink ink = inkOf(label.image);
  EXPECT_GE(ink.left, 40);
  EXPECT_LT(ink.left, 40 + 30);  // at most a quiet zone before the first bar
  EXPECT_EQ(ink.top, 30);
  EXPECT_EQ(ink.bottom, 30 + 50 - 1);
}

TEST(SymbolElements, HumanReadableLineIsDrawnUnderTheBarsInFontA) {
  for (const int dotsPerMm : {8, 12}) {
    const int fontA = dotsPerMm == 8 ? 17 : 25;
    const LabelPicture bare = drawn("BQ,40,30,2,4,50,0,0,ABC123\r", dotsPerMm);
    const LabelPicture readable = drawn("BQ,40,30,2,4,50,0,1,ABC123\r", dotsPerMm);
    const Ink bars = inkOf(bare.image);
    const Ink all = inkOf(readable.image);
    EXPECT_GT(readable.image.blackCount(), bare.image.blackCount());
    EXPECT_GT(all.bottom, bars.bottom + 2);
    EXPECT_LT(all.bottom, bars.bottom + 2 + fontA + 1);
    // Only text was added, and only under the bars.
    for (int y = 0; y <= bars.bottom; ++y) {
      for (int x = 0; x < bare.image.width(); ++x) {
        ASSERT_EQ(bare.image.black(x, y), readable.image.black(x, y)) << x << "," << y;
      }
    }
  }
}

TEST(SymbolElements, TurnedBarcodeLiesWhereTheTurnPutsIt) {
  const LabelPicture upright = drawn("BQ,200,100,2,4,50,0,0,ABC123\r");
  const LabelPicture turned = drawn("BQ,200,100,2,4,50,1,0,ABC123\r");
  const Ink a = inkOf(upright.image);
  const Ink b = inkOf(turned.image);
  EXPECT_EQ(turned.image.blackCount(), upright.image.blackCount());
  // One quarter turn clockwise about (200, 100): the bars run down, their
  // height now left of the anchor.
  EXPECT_EQ(b.right, 199);
  EXPECT_EQ(b.left, 200 - 50);
  EXPECT_EQ(b.bottom - b.top, a.right - a.left);
  EXPECT_TRUE(noted(turned, 15, "90 degrees clockwise"));
}

TEST(SymbolElements, DataTheSymbologyCannotCarryIsANoteAndTheRestIsDrawn) {
  const LabelPicture label = drawn("BE,40,30,2,4,50,0,1,NOT-DIGITS\rLo,0,0,4,4\r");
  EXPECT_EQ(label.image.blackCount(), 25);
  EXPECT_TRUE(noted(label, 15, "not drawn"));
  const LabelPicture unknown = drawn("BW,40,30,2,4,50,0,1,123\r");
  EXPECT_EQ(unknown.image.blackCount(), 0);
  EXPECT_TRUE(noted(unknown, 15, "not drawn"));
  const LabelPicture malformed = drawn("BQ,40,30,0,4,50,0,1,123\r");
  EXPECT_TRUE(noted(malformed, 15, "narrow width"));
}

TEST(SymbolElements, Pdf417LiesAtItsAnchorAndScalesWithItsModuleWidth) {
  const LabelPicture narrow = drawn("P20,30,2,6,10,3,2,ORDER-1234567\r");
  const LabelPicture wide = drawn("P20,30,4,6,10,3,2,ORDER-1234567\r");
  const Ink a = inkOf(narrow.image);
  const Ink b = inkOf(wide.image);
  EXPECT_EQ(a.left, 20);
  EXPECT_EQ(a.top, 30);
  EXPECT_EQ(a.bottom, 30 + 10 * 6 - 1);
  EXPECT_EQ(b.right - b.left + 1, 2 * (a.right - a.left + 1));
  EXPECT_TRUE(noted(narrow, 15, "module width 2 dots"));
}

}  // namespace
}  // namespace tagwright::preview
