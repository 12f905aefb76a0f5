// PDF417: the fields' ranges, data that does not fit, and modules drawn
// exactly `moduleWidth` by `rowHeight` dots.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/barcode/barcode_drawing.h"
#include "preview/barcode/barcode_test_support.h"

namespace tagwright::preview {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

Pdf417Request pdf417(int rows, int columns, int level, std::string data) {
  Pdf417Request request;
  request.moduleWidth = 2;
  request.rowHeight = 5;
  request.rows = rows;
  request.columns = columns;
  request.level = level;
  request.data = std::move(data);
  return request;
}

TEST(Pdf417Fields, OutOfRangeValuesAreRefusedWithTheRange) {
  struct Case {
    Pdf417Request request;
    std::string saying;
  };
  Pdf417Request narrow = pdf417(0, 0, 2, "x");
  narrow.moduleWidth = 0;
  Pdf417Request flat = pdf417(0, 0, 2, "x");
  flat.rowHeight = -3;
  const Case cases[] = {
      {pdf417(2, 0, 2, "x"), "the row count is 2; it takes 3 to 90"},
      {pdf417(91, 0, 2, "x"), "the row count is 91; it takes 3 to 90"},
      {pdf417(0, 31, 2, "x"), "the column count is 31; it takes 1 to 30"},
      {pdf417(0, -1, 2, "x"), "the column count is -1"},
      {pdf417(0, 0, 9, "x"), "the error correction level is 9; it takes 0 to 8"},
      {pdf417(0, 0, -1, "x"), "the error correction level is -1"},
      {pdf417(0, 0, 2, ""), "the data is empty"},
      {narrow, "the module width is 0"},
      {flat, "the row height is -3"},
  };
  for (const Case& c : cases) {
    EXPECT_THAT(pdf417DataError(c.request), HasSubstr(c.saying));
    const SymbolDrawing drawing = drawPdf417(c.request);
    EXPECT_THAT(drawing.error, HasSubstr(c.saying));
    EXPECT_TRUE(drawing.bars.empty());
  }
}

TEST(Pdf417Fields, RangeEndsAreAccepted) {
  for (const Pdf417Request& request :
       {pdf417(3, 30, 0, "x"), pdf417(90, 1, 0, "x"), pdf417(0, 0, 8, "x"), pdf417(0, 0, 0, "x")}) {
    EXPECT_EQ(pdf417DataError(request), "");
  }
}

TEST(Pdf417Fields, DataThatDoesNotFitSaysWhatItWasGiven) {
  EXPECT_THAT(pdf417DataError(pdf417(3, 1, 8, "HELLO")),
              AllOf(HasSubstr("3 rows, 1 column and error correction level 8"),
                    HasSubstr("cannot hold this data (5 bytes)")));
  EXPECT_THAT(pdf417DataError(pdf417(0, 0, 2, std::string(3000, 'x'))),
              AllOf(HasSubstr("automatic rows, automatic columns"), HasSubstr("3000 bytes")));
}

TEST(Pdf417Drawing, ModulesAreExactlyModuleWidthByRowHeightDots) {
  for (int moduleWidth : {1, 2, 3}) {
    for (int rowHeight : {2, 4, 7}) {
      Pdf417Request request = pdf417(6, 2, 1, "Tagwright");
      request.moduleWidth = moduleWidth;
      request.rowHeight = rowHeight;
      const SymbolDrawing drawing = drawPdf417(request);
      ASSERT_EQ(drawing.error, "");
      // Start 17, two row indicators and two columns of 17, stop 18 modules.
      EXPECT_EQ(drawing.bars.width(), (17 * 5 + 18) * moduleWidth);
      EXPECT_EQ(drawing.bars.height(), 6 * rowHeight);
      for (int row = 0; row < 6; ++row) {
        const int top = row * rowHeight;
        const std::vector<int> runs = testing::runsAlongRow(drawing.bars, top);
        // Every row starts with the start pattern 8 1 1 1 1 1 1 3.
        ASSERT_GE(runs.size(), 8U);
        const std::vector<int> start(runs.begin(), runs.begin() + 8);
        const int m = moduleWidth;
        EXPECT_EQ(start, (std::vector<int>{8 * m, m, m, m, m, m, m, 3 * m}));
        for (int run : runs) EXPECT_EQ(run % moduleWidth, 0);
        for (int y = top + 1; y < top + rowHeight; ++y) {
          EXPECT_EQ(testing::runsAlongRow(drawing.bars, y), runs) << "dot row " << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tagwright::preview
