#include "support/add_in_fixture.h"

namespace tagwright {
namespace {

using testing::AddInTest;
using testing::I;
using testing::T;
using testing::visible;

struct BarcodeCase {
  const char* name;
  std::int32_t barcodeWidth;  // as the property is written
  std::int32_t barcodeNarrow;
  std::u16string type;
  std::int32_t height;
  std::int32_t rotation;
  std::string expected;
  std::int32_t widthAfter;  // the property as read afterwards
};

void PrintTo(const BarcodeCase& c, std::ostream* os) { *os << c.name; }

class BarcodeElements : public AddInTest, public ::testing::WithParamInterface<BarcodeCase> {};
using BarcodeElementsTest = AddInTest;

TEST_P(BarcodeElements, WritesLineAndCorrectsWidth) {
  const BarcodeCase& c = GetParam();
  set(Property::BarcodeWidth, c.barcodeWidth);
  set(Property::BarcodeNarrow, c.barcodeNarrow);
  call(Method::PutBarcode, {T(c.type), I(-4), I(30), I(c.height), I(c.rotation), T(u"0123  ")});
  EXPECT_EQ(visible(addIn.label().bodyText()), visible(c.expected + "\r"));
  EXPECT_EQ(get(Property::BarcodeWidth), c.widthAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BarcodeElements,
    ::testing::Values(
        BarcodeCase{"ratio_2_1", 2, 0, u"1", 100, 0, "B1,0,30,2,4,100,0,1,0123", 2},
        BarcodeCase{"ratio_3_1", 2, 1, u"1", 100, 0, "B1,0,30,2,6,100,0,1,0123", 2},
        BarcodeCase{"ratio_5_2", 2, 2, u"1", 100, 0, "B1,0,30,2,5,100,0,1,0123", 2},
        BarcodeCase{"ratio_5_2_drops_fraction", 3, 2, u"1", 100, 0, "B1,0,30,3,7,100,0,1,0123", 3},
        BarcodeCase{"type_t_raises_width_to_5", 2, 0, u"t", 100, 0, "BT,0,30,5,10,100,0,1,0123", 5},
        BarcodeCase{"type_t_keeps_width_8", 8, 1, u"T", 100, 0, "BT,0,30,8,24,100,0,1,0123", 8},
        BarcodeCase{"type_e_lowers_width_6_to_2", 6, 0, u"E", 100, 0, "BE,0,30,2,4,100,0,1,0123",
                    2},
        BarcodeCase{"type_b_keeps_width_4", 4, 0, u"B", 100, 0, "BB,0,30,4,8,100,0,1,0123", 4},
        BarcodeCase{"type_m_raises_width_1_to_2", 1, 0, u"m", 100, 0, "BM,0,30,2,4,100,0,1,0123",
                    2},
        BarcodeCase{"type_a_keeps_any_width", 9, 0, u"A", 100, 0, "BA,0,30,9,18,100,0,1,0123", 9},
        BarcodeCase{"type_n_keeps_any_width", 1, 0, u"N", 100, 0, "BN,0,30,1,2,100,0,1,0123", 1},
        BarcodeCase{"type_a2_keeps_digit", 2, 0, u"a2", 100, 0, "BA2,0,30,2,4,100,0,1,0123", 2},
        BarcodeCase{"type_q2_keeps_digit", 2, 0, u"Q2x", 100, 0, "BQ2,0,30,2,4,100,0,1,0123", 2},
        BarcodeCase{"type_e2_drops_digit", 2, 0, u"E2", 100, 0, "BE,0,30,2,4,100,0,1,0123", 2},
        BarcodeCase{"height_raised_to_24", 2, 0, u"1", 10, 0, "B1,0,30,2,4,24,0,1,0123", 2},
        BarcodeCase{"height_lowered_to_1200", 2, 0, u"1", 5000, 3, "B1,0,30,2,4,1200,3,1,0123", 2},
        BarcodeCase{"rotation_raised_to_0", 2, 0, u"1", 24, -1, "B1,0,30,2,4,24,0,1,0123", 2},
        BarcodeCase{"rotation_lowered_to_3", 2, 0, u"1", 24, 9, "B1,0,30,2,4,24,3,1,0123", 2},
        BarcodeCase{"cyrillic_type_letter_left_alone", 8, 0, u"ж", 24, 0,
                    "B\xC6,0,30,8,16,24,0,1,0123", 8}));

TEST_F(BarcodeElementsTest, BarcodeReadableFlagAndDataRules) {
  set(Property::BarcodeReadable, 0);
  call(Method::PutBarcode, {T(u"1"), I(1), I(2), I(50), I(0), T(u"   ")});
  call(Method::PutBarcode, {T(u"1"), I(1), I(2), I(50), I(0), T(u"")});
  call(Method::PutBarcode, {T(u"1"), I(1), I(2), I(50), I(0), T(u"Код 1\r\n2")});
  EXPECT_EQ(visible(addIn.label().bodyText()), visible("B1,1,2,2,4,50,0,0, \rB1,1,2,2,4,50,0,0, \r"
                                                       "B1,1,2,2,4,50,0,0,\xCA\xEE\xE4 1  2\r"));
}

TEST_F(BarcodeElementsTest, BarcodeWithEmptyTypeAppendsNothingAndKeepsWidth) {
  set(Property::BarcodeWidth, 9);
  call(Method::PutBarcode, {T(u""), I(1), I(2), I(50), I(0), T(u"123")});
  call(Method::PutBarcode, {});
  EXPECT_EQ(addIn.label().bodyText(), "");
  EXPECT_EQ(get(Property::BarcodeWidth), 9);
}

TEST_F(BarcodeElementsTest, StoredWidthOutsideTheListStillGivesALine) {
  PrinterSettings s;
  s.BarcodeWidth = INT32_MAX;  // only a store can put this in the record
  addIn.setMediaGroup(getMediaGroup(s));
  call(Method::PutBarcode, {T(u"1"), I(0), I(0), I(50), I(0), T(u"9")});
  EXPECT_EQ(addIn.label().bodyText().back(), '\r');
}

TEST_F(BarcodeElementsTest, Pdf417ClampsAndCuts) {
  call(Method::PutBarcodePDF417, {I(-1), I(-2), I(-3), I(400), I(2), I(40), I(9), T(u"data  ")});
  call(Method::PutBarcodePDF417, {I(5), I(6), I(7), I(8), I(91), I(0), I(-1), T(u"")});
  EXPECT_EQ(visible(addIn.label().bodyText()),
            visible("P0,0,-3,400,3,30,8,data\rP5,6,7,8,90,1,0, \r"));
}

TEST_F(BarcodeElementsTest, Pdf417DataIsTrimmedThenCutTo1024Bytes) {
  call(Method::PutBarcodePDF417,
       {I(0), I(0), I(1), I(1), I(3), I(1), I(0), T(std::u16string(2000, u'd'))});
  EXPECT_EQ(addIn.label().bodyText(), "P0,0,1,1,3,1,0," + std::string(1024, 'd') + "\r");

  call(Method::StartLabel);
  // Trailing blanks beyond the cut are trimmed first; blanks inside the
  // first 1024 bytes remain.
  std::u16string data = std::u16string(1020, u'd') + u"    x" + std::u16string(10, u' ');
  call(Method::PutBarcodePDF417, {I(0), I(0), I(1), I(1), I(3), I(1), I(0), T(data)});
  EXPECT_EQ(addIn.label().bodyText(), "P0,0,1,1,3,1,0," + std::string(1020, 'd') + "    \r");
}

}  // namespace
}  // namespace tagwright
