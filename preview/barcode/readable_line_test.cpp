// The human-readable line: centred under the bars, two dots below them, in
// the font height the caller gives; the symbol's box holds it.
#include <gtest/gtest.h>

#include <string>

#include "preview/barcode/barcode_assumptions.h"
#include "preview/barcode/barcode_drawing.h"

namespace tagwright::preview {
namespace {

constexpr int kBarHeight = 50;

LinearBarcodeRequest readable(const std::string& type, const std::string& data, int narrow = 2) {
  LinearBarcodeRequest request;
  request.type = type;
  request.data = data;
  request.narrow = narrow;
  request.wide = 5;
  request.height = kBarHeight;
  request.readable = true;
  return request;
}

bool rowsBlank(const Bitmap& bitmap, int firstRow) {
  for (int y = firstRow; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      if (bitmap.black(x, y)) return false;
    }
  }
  return true;
}

TEST(ReadableLine, LiesTwoDotsBelowTheBarsInABoxAsWideAsThem) {
  for (int fontHeight : {17, 25}) {
    SCOPED_TRACE("font " + std::to_string(fontHeight));
    const SymbolDrawing drawing = drawLinearBarcode(readable("A", "TW 123"), fontHeight);
    ASSERT_EQ(drawing.error, "");
    EXPECT_EQ(drawing.bars.height(), kBarHeight + 2 + fontHeight);
    EXPECT_TRUE(drawing.bars.black(0, kBarHeight - 1));
    EXPECT_TRUE(rowsBlank(drawing.bars, kBarHeight));
    ASSERT_EQ(drawing.texts.size(), 1U);
    const SymbolText& text = drawing.texts[0];
    EXPECT_EQ(text.text, "TW 123");  // the data as written, no start/stop asterisks
    EXPECT_EQ(text.x, 0);
    EXPECT_EQ(text.y, kBarHeight + barcode_assumptions::kReadableGapDots);
    EXPECT_EQ(text.width, drawing.bars.width());
    EXPECT_EQ(text.fontHeight, fontHeight);
    EXPECT_EQ(linearBarcodeSize(readable("A", "TW 123"), fontHeight).height, drawing.bars.height());
  }
}

TEST(ReadableLine, NotAskedForAddsNeitherTextNorHeight) {
  LinearBarcodeRequest request = readable("A", "TW 123");
  request.readable = false;
  const SymbolDrawing drawing = drawLinearBarcode(request, 25);
  EXPECT_EQ(drawing.bars.height(), kBarHeight);
  EXPECT_TRUE(drawing.texts.empty());
}

struct ReadableCase {
  std::string type;
  std::string data;
  std::string shown;
};

TEST(ReadableLine, ShowsTheNumberTheSymbolCarries) {
  const ReadableCase cases[] = {
      {"E", "400638133393", "4006381333931"},  // EAN check digit added
      {"E", "4006381333931", "4006381333931"},
      {"B", "9638507", "96385074"},
      {"H", "03600029145", "036000291452"},
      {"K", "123456", "01234565"},  // number system and check digit
      {"A2", "CODE39", "CODE39"},   // Code 39's check character is not shown
      {"N2", "1234567", "1234567"},
      {"O", "A40156B", "A40156B"},
      {"T", "1234567890123", "12345678901231"},
      {"R", "12345678901234567", "(00)123456789012345675"},
      {"U", "(01)09501101530003(10)AB12", "(01)09501101530003(10)AB12"},
  };
  for (const ReadableCase& c : cases) {
    SCOPED_TRACE(c.type + " \"" + c.data + "\"");
    const SymbolDrawing drawing = drawLinearBarcode(readable(c.type, c.data), 17);
    ASSERT_EQ(drawing.error, "");
    ASSERT_EQ(drawing.texts.size(), 1U);
    EXPECT_EQ(drawing.texts[0].text, c.shown);
  }
}

TEST(ReadableLine, AddOnDigitsAreCentredUnderTheAddOn) {
  struct AddOnCase {
    std::string type;
    std::string data;
    std::string main;
    std::string addOn;
    int mainModules;
    int addOnModules;
  };
  const AddOnCase cases[] = {
      {"F", "400638133393112", "4006381333931", "12", 95, 20},
      {"G", "400638133393112345", "4006381333931", "12345", 95, 47},
      {"C", "963850712", "96385074", "12", 67, 20},
      {"M", "12345612345", "01234565", "12345", 51, 47},
  };
  for (int narrow : {1, 3}) {
    for (const AddOnCase& c : cases) {
      SCOPED_TRACE(c.type + " \"" + c.data + "\", narrow " + std::to_string(narrow));
      const SymbolDrawing drawing = drawLinearBarcode(readable(c.type, c.data, narrow), 17);
      ASSERT_EQ(drawing.error, "");
      ASSERT_EQ(drawing.texts.size(), 2U);
      EXPECT_EQ(drawing.texts[0].text, c.main);
      EXPECT_EQ(drawing.texts[0].x, 0);
      EXPECT_EQ(drawing.texts[0].width, c.mainModules * narrow);
      EXPECT_EQ(drawing.texts[1].text, c.addOn);
      EXPECT_EQ(drawing.texts[1].x,
                (c.mainModules + barcode_assumptions::kAddOnGapModules) * narrow);
      EXPECT_EQ(drawing.texts[1].width, c.addOnModules * narrow);
      EXPECT_EQ(drawing.texts[1].x + drawing.texts[1].width, drawing.bars.width());
      // The gap between main symbol and add-on is white.
      for (int x = c.mainModules * narrow; x < drawing.texts[1].x; ++x) {
        EXPECT_FALSE(drawing.bars.black(x, 0)) << x;
      }
      EXPECT_TRUE(drawing.bars.black(drawing.texts[1].x, 0));
    }
  }
}

}  // namespace
}  // namespace tagwright::preview
