// Every symbology that zxing-cpp reads (all of the type table but POSTNET) is drawn at every narrow
// width from 1 to 4 dots, several wide widths, both human-readable font heights (203 and 300 dpi)
// and all four rotations, and must scan back to its data.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "preview/barcode/barcode_drawing.h"
#include "preview/barcode/barcode_test_support.h"

namespace tagwright::preview {
namespace {

using testing::ScanHints;

struct DecodeCase {
  std::string name;
  std::string type;
  std::string data;
  std::string scanned;  // what a scanner reports (check digits included where it keeps them)
  ScanHints hints;
};

// Check digits below are the symbologies' published examples or worked by hand.
const std::vector<DecodeCase> kLinearCases = {
    {"Code39", "A", "TAGWRIGHT-39 $/+%", "TAGWRIGHT-39 $/+%", {}},
    {"Code39Check", "A2", "CODE39 2026", "CODE39 2026", {.code39CheckDigit = true}},
    {"Code93", "P", "TAGWRIGHT-93", "TAGWRIGHT-93", {}},
    {"Code128", "Q", "Tagwright 128 ok", "Tagwright 128 ok", {}},
    {"Code128Digits", "Q", "0123456789012345", "0123456789012345", {}},
    {"Ean8", "B", "9638507", "96385074", {}},
    {"Ean8WithCheck", "B", "96385074", "96385074", {}},
    {"Ean13", "E", "400638133393", "4006381333931", {}},
    {"Ean13WithCheck", "E", "4006381333931", "4006381333931", {}},
    {"UpcA", "H", "03600029145", "036000291452", {}},
    {"UpcE", "K", "123456", "01234565", {}},
    {"UpcEWithCheck", "K", "01234565", "01234565", {}},
    {"Interleaved", "N", "12345678", "12345678", {}},
    {"InterleavedCheck", "N2", "1234567", "12345670", {.itfCheckDigit = true}},
    {"Codabar", "O", "A40156B", "A40156B", {}},
    {"Codabar2", "O", "C-$:/.+0D", "C-$:/.+0D", {}},
    {"Dun14", "T", "1234567890123", "12345678901231", {.itfCheckDigit = true}},
    // Add-ons: scanners report the main number, a space and the add-on.
    {"Ean8AddOn2", "C", "963850712", "96385074 12", {.eanAddOn = true}},
    {"Ean8AddOn5", "D", "963850712345", "96385074 12345", {.eanAddOn = true}},
    {"Ean13AddOn2", "F", "400638133393112", "4006381333931 12", {.eanAddOn = true}},
    {"Ean13AddOn5", "G", "40063813339312345", "4006381333931 12345", {.eanAddOn = true}},
    {"UpcAAddOn2", "I", "0360002914512", "036000291452 12", {.eanAddOn = true}},
    {"UpcAAddOn5", "J", "03600029145212345", "036000291452 12345", {.eanAddOn = true}},
    {"UpcEAddOn2", "L", "12345612", "01234565 12", {.eanAddOn = true}},
    {"UpcEAddOn5", "M", "12345612345", "01234565 12345", {.eanAddOn = true}},
    // The 128 family: GS1-128 is reported without parentheses.
    {"Code128Latin1",
     "Q",
     "Gr\xC3\xBC\xC3\x9F"
     "e",
     "Gr\xC3\xBC\xC3\x9F"
     "e",
     {}},
    {"Code128SubsetsInData", "Q2", "ABC123", "ABC123", {}},
    {"Ucc128", "R", "12345678901234567", "00123456789012345675", {}},
    {"Ean128", "U", "(01)09501101530003(10)AB12", "010950110153000310AB12", {}},
    {"Rps128", "V", "RPS 128", "RPS 128", {}},
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.type << " \"" << c.data << "\""; }

struct Widths {
  int narrow;
  int wide;
};

// Narrow 1 to 4; for two-width symbologies wide at ratios 2, 2.5 and 3 where
// the dots allow them (at narrow 1 a ratio of 2.5 cannot be drawn).
std::vector<Widths> widthsFor(const std::string& type) {
  const bool twoWidth =
      type == "A" || type == "A2" || type == "N" || type == "N2" || type == "O" || type == "T";
  std::vector<Widths> widths;
  for (int narrow = 1; narrow <= 4; ++narrow) {
    if (!twoWidth) {
      widths.push_back({narrow, 0});
      continue;
    }
    widths.push_back({narrow, 2 * narrow});
    if (narrow % 2 == 0) widths.push_back({narrow, 5 * narrow / 2});
    widths.push_back({narrow, 3 * narrow});
  }
  return widths;
}

constexpr int kFontHeights[] = {17, 25};  // font A at 203 and 300 dpi
constexpr int kQuietZone = 30;

class LinearDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(LinearDecode, ScansInEveryRotationWidthAndResolution) {
  const DecodeCase& c = GetParam();
  for (const Widths& widths : widthsFor(c.type)) {
    for (int fontHeight : kFontHeights) {
      LinearBarcodeRequest request;
      request.type = c.type;
      request.data = c.data;
      request.narrow = widths.narrow;
      request.wide = widths.wide;
      request.height = 40;
      request.readable = true;
      const SymbolDrawing drawing = drawLinearBarcode(request, fontHeight);
      ASSERT_EQ(drawing.error, "");
      const SymbolSize size = linearBarcodeSize(request, fontHeight);
      EXPECT_EQ(size.width, drawing.bars.width());
      EXPECT_EQ(size.height, drawing.bars.height());
      for (int turns = 0; turns < 4; ++turns) {
        SCOPED_TRACE("narrow " + std::to_string(widths.narrow) + ", wide " +
                     std::to_string(widths.wide) + ", font " + std::to_string(fontHeight) +
                     ", turns " + std::to_string(turns));
        const Bitmap picture = testing::placedWithQuietZone(drawing.bars, turns, kQuietZone);
        EXPECT_EQ(picture.blackCount(), drawing.bars.blackCount());
        EXPECT_EQ(testing::scan(picture, c.hints).value_or("(nothing)"), c.scanned);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Symbologies, LinearDecode, ::testing::ValuesIn(kLinearCases),
                         [](const auto& testInfo) { return testInfo.param.name; });

struct Pdf417Case {
  std::string name;
  int rows;
  int columns;
  int level;
  std::string data;
};

const std::vector<Pdf417Case> kPdf417Cases = {
    {"Automatic", 0, 0, 2, "Tagwright PDF417 preview 0123456789"},
    {"FixedColumns", 0, 3, 4, "SHIP TO: 221B BAKER STREET, LONDON"},
    {"FixedRowsAndColumns", 12, 4, 1, "rows 12, columns 4"},
    {"LevelZero", 0, 2, 0, "level 0"},
};

void PrintTo(const Pdf417Case& c, std::ostream* out) { *out << "\"" << c.data << "\""; }

class Pdf417Decode : public ::testing::TestWithParam<Pdf417Case> {};

TEST_P(Pdf417Decode, ScansInEveryRotationAndModuleWidth) {
  const Pdf417Case& c = GetParam();
  for (int moduleWidth = 1; moduleWidth <= 4; ++moduleWidth) {
    Pdf417Request request;
    request.moduleWidth = moduleWidth;
    request.rowHeight = 3 * moduleWidth;
    request.rows = c.rows;
    request.columns = c.columns;
    request.level = c.level;
    request.data = c.data;
    const SymbolDrawing drawing = drawPdf417(request);
    ASSERT_EQ(drawing.error, "");
    const SymbolSize size = pdf417Size(request);
    EXPECT_EQ(size.width, drawing.bars.width());
    EXPECT_EQ(size.height, drawing.bars.height());
    if (c.rows != 0) {
      EXPECT_EQ(drawing.bars.height(), c.rows * request.rowHeight);
    }
    // Start 17, left and right row indicators 17 each, stop 18, 17 a column.
    if (c.columns != 0) {
      EXPECT_EQ(drawing.bars.width(), (69 + 17 * c.columns) * moduleWidth);
    }
    for (int turns = 0; turns < 4; ++turns) {
      SCOPED_TRACE("module " + std::to_string(moduleWidth) + ", turns " + std::to_string(turns));
      const Bitmap picture = testing::placedWithQuietZone(drawing.bars, turns, kQuietZone);
      EXPECT_EQ(testing::scan(picture).value_or("(nothing)"), c.data);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, Pdf417Decode, ::testing::ValuesIn(kPdf417Cases),
                         [](const auto& testInfo) { return testInfo.param.name; });

}  // namespace
}  // namespace tagwright::preview
