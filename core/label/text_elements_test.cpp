#include "support/add_in_fixture.h"

namespace tagwright {
namespace {

using testing::AddInTest;
using testing::I;
using testing::T;
using testing::visible;

struct ElementCase {
  const char* name;
  Method method;
  ScriptArgs args;
  std::string expected;  // one line, without its CR
};

void PrintTo(const ElementCase& c, std::ostream* os) { *os << c.name; }

class TextElements : public AddInTest, public ::testing::WithParamInterface<ElementCase> {};
using TextElementsTest = AddInTest;

TEST_P(TextElements, AppendsExactlyOneLine) {
  ASSERT_EQ(call(GetParam().method, GetParam().args), HostResult::Ok);
  EXPECT_EQ(visible(addIn.label().bodyText()), visible(GetParam().expected + "\r"));
}

std::u16string repeat(char16_t c, std::size_t n) { return std::u16string(n, c); }
std::string repeat8(char c, std::size_t n) { return std::string(n, c); }

INSTANTIATE_TEST_SUITE_P(
    Text, TextElements,
    ::testing::Values(
        ElementCase{"put_text_clamps_everything",
                    Method::PutText,
                    {I(-5), I(10), I(0), I(20), I(0), I(7), T(u""), T(u"Hi   ")},
                    "AA,0,10,1,10,1,3,Hi"},
        ElementCase{"put_loaded_text_keeps_gap_zero",
                    Method::PutLoadedText,
                    {I(-5), I(10), I(0), I(20), I(0), I(7), T(u""), T(u"Hi   ")},
                    "VA,0,10,1,10,0,3,Hi"},
        ElementCase{"put_loaded_text_raises_negative_gap",
                    Method::PutLoadedText,
                    {I(1), I(2), I(3), I(4), I(-9), I(-1), T(u"Z"), T(u"x")},
                    "VZ,1,2,3,4,0,0,x"},
        ElementCase{"put_text_gap_has_no_upper_bound",
                    Method::PutText,
                    {I(1), I(2), I(10), I(1), I(500), I(3), T(u"Cyr"), T(u"a,b\"^c")},
                    "AC,1,2,10,1,500,3,a,b\"^c"},
        ElementCase{"lower_case_font_gives_a",
                    Method::PutText,
                    {I(0), I(0), I(1), I(1), I(1), I(0), T(u"b"), T(u"x")},
                    "AA,0,0,1,1,1,0,x"},
        ElementCase{"digit_font_gives_a",
                    Method::PutText,
                    {I(0), I(0), I(1), I(1), I(1), I(0), T(u"1"), T(u"x")},
                    "AA,0,0,1,1,1,0,x"},
        ElementCase{"cyrillic_font_gives_a",
                    Method::PutText,
                    {I(0), I(0), I(1), I(1), I(1), I(0), T(u"Ж"), T(u"x")},
                    "AA,0,0,1,1,1,0,x"},
        ElementCase{"blank_text_keeps_one_blank",
                    Method::PutText,
                    {I(0), I(0), I(1), I(1), I(1), I(0), T(u"A"), T(u"   ")},
                    "AA,0,0,1,1,1,0, "},
        ElementCase{"empty_text_becomes_one_blank",
                    Method::PutText,
                    {I(0), I(0), I(1), I(1), I(1), I(0), T(u"A"), T(u"")},
                    "AA,0,0,1,1,1,0, "},
        ElementCase{"text_of_300_is_cut_to_239",
                    Method::PutText,
                    {I(0), I(0), I(1), I(1), I(1), I(0), T(u"A"), T(repeat(u'x', 300))},
                    "AA,0,0,1,1,1,0," + repeat8('x', 239)},
        ElementCase{"text_of_240_is_cut_to_239",
                    Method::PutLoadedText,
                    {I(0), I(0), I(1), I(1), I(0), I(0), T(u"A"), T(repeat(u'y', 240))},
                    "VA,0,0,1,1,0,0," + repeat8('y', 239)},
        ElementCase{"text_of_239_is_kept",
                    Method::PutLoadedText,
                    {I(0), I(0), I(1), I(1), I(0), I(0), T(u"A"), T(repeat(u'y', 239))},
                    "VA,0,0,1,1,0,0," + repeat8('y', 239)},
        ElementCase{"cut_comes_before_trim",
                    Method::PutText,
                    {I(0), I(0), I(1), I(1), I(1), I(0), T(u"A"),
                     T(repeat(u'x', 237) + u"  " + repeat(u'z', 10))},
                    "AA,0,0,1,1,1,0," + repeat8('x', 237)},
        ElementCase{"line_breaks_inside_text_become_blanks",
                    Method::PutText,
                    {I(0), I(0), I(1), I(1), I(1), I(0), T(u"A"), T(u"a\r\nE\r^XA\n")},
                    "AA,0,0,1,1,1,0,a  E ^XA"},
        ElementCase{"text_ends_at_a_zero_character",
                    Method::PutLoadedText,
                    {I(0), I(0), I(1), I(1), I(0), I(0), T(u"A"), T(std::u16string(u"ab\0cd", 5))},
                    "VA,0,0,1,1,0,0,ab"},
        ElementCase{"numbers_given_as_text_and_reals",
                    Method::PutText,
                    {T(u" 12xyz"), ScriptValue::real(2.6), I(2), I(2), I(1), I(0), I(66), I(1234)},
                    "AA,12,3,2,2,1,0,1234"},
        ElementCase{"missing_arguments_read_as_zero_and_empty",
                    Method::PutText,
                    {I(5)},
                    "AA,5,0,1,1,1,0, "}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

INSTANTIATE_TEST_SUITE_P(Boxes, TextElements,
                         ::testing::Values(ElementCase{"rectangle_raises_thickness_to_one",
                                                       Method::PutRectangle,
                                                       {I(10), I(10), I(200), I(100), I(0), I(-2)},
                                                       "R10,10,200,100,1,1"},
                                           ElementCase{"rectangle_raises_corners_to_zero",
                                                       Method::PutRectangle,
                                                       {I(-1), I(-2), I(-3), I(-4), I(9), I(900)},
                                                       "R0,0,0,0,9,900"},
                                           ElementCase{"invers_rectangle",
                                                       Method::InversRectangle,
                                                       {I(5), I(-6), I(70), I(80)},
                                                       "Lo,5,0,70,80"},
                                           ElementCase{"image_name_trimmed",
                                                       Method::PutImage,
                                                       {I(0), I(0), T(u"LOGO  ")},
                                                       "Y0,0,LOGO"},
                                           ElementCase{"image_empty_name_stays_empty",
                                                       Method::PutImage,
                                                       {I(-3), I(4), T(u"")},
                                                       "Y0,4,"},
                                           ElementCase{"image_name_has_no_cap",
                                                       Method::PutImage,
                                                       {I(1), I(1), T(repeat(u'n', 300))},
                                                       "Y1,1," + repeat8('n', 300)}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(TextElementsTest, ElementsBeforeStartLabelGoToTheBody) {
  call(Method::PutRectangle, {I(1), I(2), I(3), I(4), I(5), I(6)});
  call(Method::InversRectangle, {I(1), I(2), I(3), I(4)});
  EXPECT_EQ(addIn.label().headerText(), "");
  EXPECT_EQ(addIn.label().bodyText(), "R1,2,3,4,5,6\rLo,1,2,3,4\r");
}

TEST_F(TextElementsTest, CyrillicTextTakesTheCodePageOfItsCommand) {
  const ScriptArgs args = {I(0), I(0), I(1), I(1), I(1), I(0), T(u"A"), T(u"Цена €")};
  call(Method::PutText, args);
  // PutText: the whole line in the OEM page (866): Ц=0x96 е=0xA5 н=0xAD а=0xA0;
  // the euro sign exists in 1251 (0x88) but not in 866, so it becomes '?'.
  EXPECT_EQ(visible(addIn.label().bodyText()), visible("AA,0,0,1,1,1,0,\x96\xA5\xAD\xA0 ?\r"));
  call(Method::StartLabel);
  call(Method::PutLoadedText, args);
  // PutLoadedText stays in the ANSI page (1251): Ц=0xD6 е=0xE5 н=0xED а=0xE0, € = 0x88.
  EXPECT_EQ(visible(addIn.label().bodyText()), visible("VA,0,0,1,1,1,0,\xD6\xE5\xED\xE0 \x88\r"));
  call(Method::StartLabel);
  call(Method::PutImage, {I(0), I(0), T(u"Лого")});
  EXPECT_EQ(visible(addIn.label().bodyText()), visible("Y0,0,\x8B\xAE\xA3\xAE\r"));
  call(Method::StartLabel);
  call(Method::PutText, {I(0), I(0), I(1), I(1), I(1), I(0), T(u"A"), T(u"日本")});
  EXPECT_EQ(visible(addIn.label().bodyText()), visible("AA,0,0,1,1,1,0,??\r"));
}

}  // namespace
}  // namespace tagwright
