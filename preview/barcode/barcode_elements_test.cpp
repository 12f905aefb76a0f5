// Element widths in dots: two-width symbologies draw exactly `narrow` and
// `wide` dots, in the element sequence of the symbology's public tables;
// single-width ones draw every module `narrow` dots.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "preview/barcode/barcode_drawing.h"
#include "preview/barcode/barcode_test_support.h"

namespace tagwright::preview {
namespace {

SymbolDrawing draw(const std::string& type, const std::string& data, int narrow, int wide,
                   int height = 30) {
  LinearBarcodeRequest request;
  request.type = type;
  request.data = data;
  request.narrow = narrow;
  request.wide = wide;
  request.height = height;
  return drawLinearBarcode(request, 17);
}

// A row's runs as N (narrow) and W (wide), '?' for any other width.
std::string narrowWide(const std::vector<int>& runs, int narrow, int wide) {
  std::string text;
  for (int run : runs) text += run == narrow ? 'N' : run == wide ? 'W' : '?';
  return text;
}

struct TwoWidthCase {
  std::string name;
  std::string type;
  std::string data;
  std::string elements;  // from the symbology's character tables
};

const std::vector<TwoWidthCase> kTwoWidthCases = {
    // '*' start, gap, 'A', gap, '*' stop.
    {"Code39", "A", "A",
     "NWNNWNWNN"
     "N"
     "WNNNNWNNW"
     "N"
     "NWNNWNWNN"},
    // Start NNNN, the pair 1 (bars WNNNW) and 2 (spaces NWNNW) interleaved, stop WNN.
    {"Interleaved", "N", "12",
     "NNNN"
     "WNNWNNNNWW"
     "WNN"},
    // Start A, gap, '1', gap, stop B.
    {"Codabar", "O", "A1B",
     "NNWWNWN"
     "N"
     "NNNNWWN"
     "N"
     "NWNWNNW"},
};

void PrintTo(const TwoWidthCase& c, std::ostream* out) {
  *out << c.type << " \"" << c.data << "\"";
}

class TwoWidthElements : public ::testing::TestWithParam<TwoWidthCase> {};

TEST_P(TwoWidthElements, AreExactlyNarrowOrWideDotsInTableOrder) {
  const TwoWidthCase& c = GetParam();
  const std::vector<std::pair<int, int>> widths = {{1, 2}, {1, 3}, {2, 5}, {3, 7}, {4, 12}};
  for (const auto& [narrow, wide] : widths) {
    SCOPED_TRACE("narrow " + std::to_string(narrow) + ", wide " + std::to_string(wide));
    const SymbolDrawing drawing = draw(c.type, c.data, narrow, wide);
    ASSERT_EQ(drawing.error, "");
    for (int y : {0, drawing.bars.height() - 1}) {
      EXPECT_EQ(narrowWide(testing::runsAlongRow(drawing.bars, y), narrow, wide), c.elements);
    }
    // Nothing outside the elements: the bitmap is exactly as wide as they are.
    const auto narrowCount =
        static_cast<int>(std::count(c.elements.begin(), c.elements.end(), 'N'));
    const auto wideCount = static_cast<int>(std::count(c.elements.begin(), c.elements.end(), 'W'));
    EXPECT_EQ(drawing.bars.width(), narrowCount * narrow + wideCount * wide);
  }
}

INSTANTIATE_TEST_SUITE_P(Symbologies, TwoWidthElements, ::testing::ValuesIn(kTwoWidthCases),
                         [](const auto& testInfo) { return testInfo.param.name; });

TEST(TwoWidthElements, Dun14HasTwentyNineWideAndFortyEightNarrowElements) {
  // Start (4 narrow), 7 digit pairs of 4 wide and 6 narrow, stop (1 wide, 2 narrow).
  const SymbolDrawing drawing = draw("T", "1234567890123", 2, 5);
  ASSERT_EQ(drawing.error, "");
  const std::string elements = narrowWide(testing::runsAlongRow(drawing.bars, 0), 2, 5);
  EXPECT_EQ(std::count(elements.begin(), elements.end(), 'W'), 29);
  EXPECT_EQ(std::count(elements.begin(), elements.end(), 'N'), 48);
  EXPECT_EQ(drawing.fixedQuarterTurns, 1);
  EXPECT_EQ(drawing.notes, std::vector<std::string>{"DUN-14 is drawn without bearer bars"});
}

struct ModuleCase {
  std::string name;
  std::string type;
  std::string data;
  int modules;  // the symbol's width in modules, from the symbology's structure
};

const std::vector<ModuleCase> kModuleCases = {
    {"Ean8", "B", "9638507", 67},
    {"Ean8AddOn2", "C", "963850712", 67 + 9 + 20},
    {"Ean8AddOn5", "D", "963850712345", 67 + 9 + 47},
    {"Ean13", "E", "400638133393", 95},
    {"Ean13AddOn2", "F", "400638133393112", 95 + 9 + 20},
    {"Ean13AddOn5", "G", "40063813339312345", 95 + 9 + 47},
    {"UpcA", "H", "03600029145", 95},
    {"UpcAAddOn2", "I", "0360002914512", 95 + 9 + 20},
    {"UpcAAddOn5", "J", "03600029145212345", 95 + 9 + 47},
    {"UpcE", "K", "123456", 51},
    {"UpcEAddOn2", "L", "12345612", 51 + 9 + 20},
    {"UpcEAddOn5", "M", "0123456512345", 51 + 9 + 47},
    // Start, 4 characters and check character of 11 modules each, stop of 13.
    {"Code128", "Q", "Ab%z", 11 * 6 + 13},
    // Start, 3 characters, 2 check characters and stop of 9 modules, a terminating bar.
    {"Code93", "P", "A-Z", 9 * 7 + 1},
};

void PrintTo(const ModuleCase& c, std::ostream* out) { *out << c.type << " \"" << c.data << "\""; }

class SingleWidthModules : public ::testing::TestWithParam<ModuleCase> {};

TEST_P(SingleWidthModules, AreNarrowDotsEach) {
  const ModuleCase& c = GetParam();
  for (int narrow = 1; narrow <= 4; ++narrow) {
    SCOPED_TRACE("narrow " + std::to_string(narrow));
    // A wide width that would show if it were used.
    const SymbolDrawing drawing = draw(c.type, c.data, narrow, 7 * narrow);
    ASSERT_EQ(drawing.error, "");
    EXPECT_EQ(drawing.bars.width(), c.modules * narrow);
    for (int run : testing::runsAlongRow(drawing.bars, 0)) {
      EXPECT_EQ(run % narrow, 0) << run;
      EXPECT_LE(run / narrow, 9) << run;  // EAN's add-on gap is the widest element
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Symbologies, SingleWidthModules, ::testing::ValuesIn(kModuleCases),
                         [](const auto& testInfo) { return testInfo.param.name; });

TEST(SingleWidthModules, Code128EndsWithItsStopPattern) {
  const SymbolDrawing drawing = draw("Q", "Tagwright", 3, 0);
  ASSERT_EQ(drawing.error, "");
  const std::vector<int> runs = testing::runsAlongRow(drawing.bars, 0);
  ASSERT_GE(runs.size(), 7U);
  const std::vector<int> stop(runs.end() - 7, runs.end());
  EXPECT_EQ(stop, (std::vector<int>{6, 9, 9, 3, 3, 3, 6}));  // 2 3 3 1 1 1 2 modules
}

TEST(Postnet, DrawsTallAndShortBarsOfNarrowWidth) {
  // Frame bar, 5 digits and a check digit of 5 bars (2 of them tall), frame bar.
  const int height = 30;
  const SymbolDrawing drawing = draw("S", "12345", 2, 0, height);
  ASSERT_EQ(drawing.error, "");
  const std::vector<int> bottom = testing::runsAlongRow(drawing.bars, height - 1);
  EXPECT_EQ(bottom.size(), 2U * 32 - 1);
  for (int run : bottom) EXPECT_EQ(run, 2);
  const std::vector<int> top = testing::runsAlongRow(drawing.bars, 0);
  int tallBars = 0;
  for (std::size_t i = 0; i < top.size(); i += 2) ++tallBars;
  EXPECT_EQ(tallBars, 14);
  // Short bars are 0.4 of the height: 12 of 30 dots. Column 2 is the first
  // digit's first bar (digit 1 is short short short tall tall).
  int shortBarHeight = 0;
  for (int y = 0; y < height; ++y) shortBarHeight += drawing.bars.black(4, y) ? 1 : 0;
  EXPECT_EQ(shortBarHeight, 12);
}

TEST(BarHeight, IsTheRequestedHeightWithoutReadableLine) {
  for (int height : {1, 13, 80}) {
    const SymbolDrawing drawing = draw("Q", "12", 2, 0, height);
    ASSERT_EQ(drawing.error, "");
    EXPECT_EQ(drawing.bars.height(), height);
    EXPECT_TRUE(drawing.bars.black(0, height - 1));
    EXPECT_TRUE(drawing.texts.empty());
  }
}

}  // namespace
}  // namespace tagwright::preview
