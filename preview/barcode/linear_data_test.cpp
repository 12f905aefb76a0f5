// Which data each type letter takes, and what the message says when the
// symbology cannot carry it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "preview/barcode/barcode_drawing.h"

namespace tagwright::preview {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

struct GoodData {
  std::string type;
  std::string data;
};

// One valid datum for every type field of the table.
const std::vector<GoodData> kEveryType = {
    {"A", "CODE 39"},
    {"A2", "CODE 39"},
    {"B", "9638507"},
    {"C", "963850712"},
    {"D", "9638507412345"},
    {"E", "400638133393"},
    {"F", "400638133393112"},
    {"G", "40063813339312345"},
    {"H", "03600029145"},
    {"I", "03600029145212"},
    {"J", "0360002914512345"},
    {"K", "123456"},
    {"L", "12345612"},
    {"M", "012345612345"},
    {"N", "1234"},
    {"N2", "123"},
    {"O", "A123B"},
    {"P", "CODE-93"},
    {"Q", "Code 128"},
    {"Q2", "Code 128"},
    {"R", "12345678901234567"},
    {"S", "12345"},
    {"T", "1234567890123"},
    {"U", "(01)09501101530003"},
    {"V", "RPS 128"},
};

TEST(LinearBarcodeData, EveryTypeOfTheTableDrawsItsData) {
  for (const GoodData& good : kEveryType) {
    SCOPED_TRACE(good.type + " \"" + good.data + "\"");
    EXPECT_EQ(linearBarcodeDataError(good.type, good.data), "");
    LinearBarcodeRequest request;
    request.type = good.type;
    request.data = good.data;
    const SymbolDrawing drawing = drawLinearBarcode(request, 17);
    EXPECT_EQ(drawing.error, "");
    EXPECT_GT(drawing.bars.blackCount(), 0);
  }
}

TEST(LinearBarcodeData, TypesOutsideTheTableAreNotBarcodes) {
  for (const std::string type : {"W", "Z", "X", "E2", "B2", "AA", "e", "q", "1", "A3"}) {
    EXPECT_EQ(linearBarcodeDataError(type, "1234"),
              "type " + type + " is not a barcode the printer draws");
    LinearBarcodeRequest request;
    request.type = type;
    request.data = "1234";
    EXPECT_EQ(drawLinearBarcode(request, 17).error,
              "type " + type + " is not a barcode the printer draws");
  }
  EXPECT_EQ(linearBarcodeDataError("", "1"), "type \"\" is not a barcode the printer draws");
}

struct BadData {
  std::string name;
  std::string type;
  std::string data;
  std::vector<std::string> saying;  // what the message must say
};

const std::vector<BadData> kBadData = {
    {"Ean13Letters",
     "E",
     "TW-000123",
     {"EAN-13 takes 12 or 13 digits", "\"TW-000123\" has letters"}},
    {"Ean13Count", "E", "12345", {"EAN-13 takes 12 or 13 digits", "has 5"}},
    {"Ean13Empty", "E", "", {"EAN-13 takes 12 or 13 digits", "empty"}},
    {"Ean13Check", "E", "4006381333932", {"check digit", "ends in 2", "400638133393 is 1"}},
    {"Ean8Check", "B", "96385075", {"EAN-8 check digit", "9638507 is 4"}},
    {"UpcACheck", "H", "036000291453", {"UPC-A check digit", "03600029145 is 2"}},
    {"UpcECheck", "K", "01234566", {"UPC-E check digit", "01234500006", "is 5"}},
    {"UpcENumberSystem", "K", "2234567", {"number system is 0 or 1", "starts with 2"}},
    {"UpcECount", "K", "12345", {"UPC-E takes 6, 7 or 8 digits", "has 5"}},
    {"AddOnMissing", "F", "4006381333931", {"takes 14 or 15 digits", "2 add-on digits", "has 13"}},
    {"AddOn5Missing", "J", "03600029145212", {"takes 16 or 17 digits", "5 add-on digits"}},
    {"AddOnCheckOfMain", "G", "400638133393212345", {"EAN-13 check digit", "is 1"}},
    {"Code39LowerCase", "A", "abc", {"upper-case letters", "has 'a'"}},
    {"Code39Asterisk", "A2", "A*B", {"Code 39 with check digit", "has '*'"}},
    {"Code39Empty", "A", "", {"at least one character"}},
    {"Code39TooLong", "A", std::string(100, '7'), {"Code 39 cannot carry", "(100 characters)"}},
    {"InterleavedOdd", "N", "12345", {"an even number of digits", "has 5"}},
    {"InterleavedCheckEven", "N2", "123456", {"an odd number of digits", "has 6"}},
    {"InterleavedLetters", "N", "12a4", {"has letters"}},
    {"CodabarNoStartStop",
     "O",
     "12345",
     {"start character A, B, C or D", "does not start and end"}},
    {"CodabarInside", "O", "A12X45B", {"has 'X' inside"}},
    {"Code93NotAscii",
     "P",
     "Gr\xC3\xBC\xC3\x9F"
     "e",
     {"ASCII characters only", "has '\xC3\xBC'"}},
    {"Code128Cyrillic", "Q", "\xD0\x96uk", {"ASCII and Latin-1", "has '\xD0\x96'"}},
    {"Ucc128Count", "R", "1234", {"17 or 18 digits", "has 4"}},
    {"Ucc128Check", "R", "123456789012345678", {"UCC 128 check digit", "12345678901234567 is 5"}},
    {"Ean128NoParentheses", "U", "0109501101530003", {"application identifiers in parentheses"}},
    {"Ean128BadAi", "U", "(01)12345", {"EAN 128 cannot carry", "AI (01)"}},
    {"PostnetCount", "S", "1234", {"5, 9 or 11 digits", "has 4"}},
    {"Dun14Check", "T", "12345678901234", {"DUN-14 check digit", "1234567890123 is 1"}},
    {"Dun14Count", "T", "123", {"13 or 14 digits", "has 3"}},
};

void PrintTo(const BadData& c, std::ostream* out) { *out << c.type << " \"" << c.data << "\""; }

class BadLinearData : public ::testing::TestWithParam<BadData> {};

TEST_P(BadLinearData, IsRefusedWithWhatIsWrongAndWhatItTakes) {
  const BadData& c = GetParam();
  const std::string error = linearBarcodeDataError(c.type, c.data);
  for (const std::string& part : c.saying) EXPECT_THAT(error, HasSubstr(part));
  LinearBarcodeRequest request;
  request.type = c.type;
  request.data = c.data;
  const SymbolDrawing drawing = drawLinearBarcode(request, 17);
  EXPECT_EQ(drawing.error, error);
  EXPECT_TRUE(drawing.bars.empty());
  EXPECT_EQ(linearBarcodeSize(request, 17).error, error);
}

INSTANTIATE_TEST_SUITE_P(Messages, BadLinearData, ::testing::ValuesIn(kBadData),
                         [](const auto& testInfo) { return testInfo.param.name; });

TEST(LinearBarcodeRequestFields, OutOfRangeWidthsAndHeightsAreRefused) {
  LinearBarcodeRequest request;
  request.type = "A";
  request.data = "ABC";
  request.narrow = 0;
  EXPECT_THAT(drawLinearBarcode(request, 17).error,
              AllOf(HasSubstr("narrow width is 0"), HasSubstr("at least 1")));
  request.narrow = 2;
  request.wide = -1;
  EXPECT_THAT(drawLinearBarcode(request, 17).error, HasSubstr("wide width is -1"));
  request.wide = 5;
  request.height = 0;
  EXPECT_THAT(drawLinearBarcode(request, 17).error, HasSubstr("bar height is 0"));
  // The wide width means nothing to single-width symbologies.
  request.type = "Q";
  request.height = 10;
  request.wide = 0;
  EXPECT_EQ(drawLinearBarcode(request, 17).error, "");
}

TEST(LinearBarcodeRequestFields, SymbolsLargerThanAnyLabelAreRefusedBeforeDrawing) {
  LinearBarcodeRequest request;
  request.type = "Q";
  request.data = "Tagwright";
  request.narrow = 1000000;
  request.height = 1000;
  EXPECT_THAT(drawLinearBarcode(request, 17).error, HasSubstr("more than a label can hold"));
  EXPECT_THAT(linearBarcodeSize(request, 17).error, HasSubstr("more than a label can hold"));
  request.narrow = 2;
  request.height = 2000000000;
  EXPECT_THAT(drawLinearBarcode(request, 17).error, HasSubstr("more than a label can hold"));
}

TEST(LinearBarcodeRequestFields, WideOutsideTwoToThreeTimesNarrowIsDrawnWithANote) {
  struct Case {
    int narrow;
    int wide;
    std::string saying;  // empty: no note
  };
  const Case cases[] = {
      {3, 3, "not wider than the narrow ones (3 dots wide, 3 narrow)"},
      {3, 2, "not wider than the narrow ones"},
      {2, 3, "not 2 to 3 times the narrow ones (3 dots wide, 2 narrow)"},
      {2, 7, "not 2 to 3 times the narrow ones"},
      {2, 4, ""},
      {2, 5, ""},
      {2, 6, ""},
  };
  for (const std::string type : {"A", "N", "O", "T"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(type + ": narrow " + std::to_string(c.narrow) + ", wide " +
                   std::to_string(c.wide));
      LinearBarcodeRequest request;
      request.type = type;
      request.data = type == "O" ? "A123B" : type == "T" ? "1234567890123" : "1234";
      request.narrow = c.narrow;
      request.wide = c.wide;
      const SymbolDrawing drawing = drawLinearBarcode(request, 17);
      EXPECT_EQ(drawing.error, "");
      std::vector<std::string> ratioNotes;
      for (const std::string& note : drawing.notes) {
        if (note.find("wide elements") != std::string::npos) ratioNotes.push_back(note);
      }
      if (c.saying.empty()) {
        EXPECT_TRUE(ratioNotes.empty());
      } else {
        ASSERT_EQ(ratioNotes.size(), 1U);
        EXPECT_THAT(ratioNotes[0], HasSubstr(c.saying));
      }
    }
  }
  // Single-width symbologies never use the wide width.
  LinearBarcodeRequest request;
  request.type = "Q";
  request.data = "1234";
  request.narrow = 3;
  request.wide = 1;
  EXPECT_TRUE(drawLinearBarcode(request, 17).notes.empty());
}

TEST(LinearBarcodeVariants, Code128VariantsDrawnAutomaticallySaySo) {
  for (const std::string type : {"Q2", "V"}) {
    LinearBarcodeRequest request;
    request.type = type;
    request.data = "ABC123";
    const SymbolDrawing drawing = drawLinearBarcode(request, 17);
    ASSERT_EQ(drawing.error, "");
    ASSERT_EQ(drawing.notes.size(), 1U);
    EXPECT_THAT(drawing.notes[0], HasSubstr("subsets chosen automatically"));
  }
  LinearBarcodeRequest plain;
  plain.type = "Q";
  plain.data = "ABC123";
  EXPECT_TRUE(drawLinearBarcode(plain, 17).notes.empty());
}

}  // namespace
}  // namespace tagwright::preview
