#include "support/add_in_fixture.h"

namespace tagwright {
namespace {

using testing::AddInTest;
using testing::visible;

struct HeaderCase {
  const char* name;
  PrinterSettings settings;
  const char* expected;  // lines joined with '|' for CR
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

std::string crLines(const char* joined) {
  std::string s(joined);
  for (char& c : s) {
    if (c == '|') c = '\r';
  }
  return s + '\r';
}

PrinterSettings with(void (*change)(PrinterSettings&)) {
  PrinterSettings s;
  s.PrinterSpeed = 2;
  s.PrinterDarkness = 10;
  s.MetodTransfer = 1;
  change(s);
  return s;
}

class LabelHeader : public AddInTest, public ::testing::WithParamInterface<HeaderCase> {};
using LabelHeaderTest = AddInTest;

TEST_P(LabelHeader, WritesTheSetUpCommands) {
  const PrinterSettings& s = GetParam().settings;
  addIn.setPrinterGroup(getPrinterGroup(s));
  addIn.setLabelGroup(getLabelGroup(s));
  addIn.setMediaGroup(getMediaGroup(s));
  call(Method::StartLabel);
  EXPECT_EQ(visible(addIn.label().headerText()), visible(crLines(GetParam().expected)));
  EXPECT_EQ(addIn.label().bodyText(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Variants, LabelHeader,
    ::testing::Values(
        HeaderCase{"gap_label", with([](PrinterSettings&) {}),
                   "^Q25,3|^W43|^S4|^AT|^H10|^R0|~Q+0|^O0|^D0|^E0|^P1|~R105"},
        HeaderCase{"continuous_tape", with([](PrinterSettings& s) { s.LabelType = 1; }),
                   "^Q25,0,10|^W43|^S4|^AT|^H10|^R0|~Q+0|^O0|^D0|^E0|^P1|~R105"},
        HeaderCase{"black_mark_negative_offset", with([](PrinterSettings& s) {
                     s.LabelType = 2;
                     s.LabelSize = 30;
                     s.BlackMarkLenght = 3;
                     s.BlackMarkPosition = -2;
                   }),
                   "^Q30,3,2-|^W43|^S4|^AT|^H10|^R0|~Q+0|^O0|^D0|^E0|^P1|~R105"},
        HeaderCase{"black_mark_zero_offset", with([](PrinterSettings& s) {
                     s.LabelType = 2;
                     s.LabelSize = 30;
                     s.BlackMarkLenght = 3;
                   }),
                   "^Q30,3,0+|^W43|^S4|^AT|^H10|^R0|~Q+0|^O0|^D0|^E0|^P1|~R105"},
        HeaderCase{"unknown_media_is_black_mark", with([](PrinterSettings& s) {
                     s.LabelType = -7;
                     s.BlackMarkLenght = 4;
                     s.BlackMarkPosition = 5;
                   }),
                   "^Q25,4,5+|^W43|^S4|^AT|^H10|^R0|~Q+0|^O0|^D0|^E0|^P1|~R105"},
        HeaderCase{"lowest_black_mark_offset_keeps_its_magnitude", with([](PrinterSettings& s) {
                     s.LabelType = 2;
                     s.BlackMarkPosition = INT32_MIN;
                   }),
                   "^Q25,0,2147483648-|^W43|^S4|^AT|^H10|^R0|~Q+0|^O0|^D0|^E0|^P1|~R105"},
        HeaderCase{"direct_thermal_writes_two_lines",
                   with([](PrinterSettings& s) { s.MetodTransfer = 0; }),
                   "^Q25,3|^W43|^S4|^XSET,CODEPAGE,10|^AD|^H10|^R0|~Q+0|^O0|^D0|^E0|^P1|~R105"},
        HeaderCase{"negative_top_margin_carries_its_sign",
                   with([](PrinterSettings& s) { s.TopMargin = -5; }),
                   "^Q25,3|^W43|^S4|^AT|^H10|^R0|~Q-5|^O0|^D0|^E0|^P1|~R105"},
        HeaderCase{"positive_top_margin_and_left_margin", with([](PrinterSettings& s) {
                     s.TopMargin = 12;
                     s.LeftMargin = 40;
                   }),
                   "^Q25,3|^W43|^S4|^AT|^H10|^R40|~Q+12|^O0|^D0|^E0|^P1|~R105"},
        HeaderCase{"stripper_rotation_stop", with([](PrinterSettings& s) {
                     s.PrinterStriper = 1;
                     s.LabelRotate = 1;
                     s.StopPosition = 7;
                   }),
                   "^Q25,3|^W43|^S4|^AT|^H10|^R0|~Q+0|^O1|^D0|^E7|^P1|~R50"},
        HeaderCase{"negative_flags_count_as_off", with([](PrinterSettings& s) {
                     s.PrinterStriper = -1;
                     s.LabelRotate = -1;
                     s.PrinterCutter = 5;
                     s.PrinterSpeed = 5;
                   }),
                   "^Q25,3|^W43|^S7|^AT|^H10|^R0|~Q+0|^O0|^D5|^E0|^P1|~R105"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(LabelHeaderTest, StartLabelTwiceLeavesOneHeaderAndAnEmptyBody) {
  call(Method::StartLabel);
  const std::string once = addIn.label().headerText();
  call(Method::InversRectangle, {testing::I(1), testing::I(2), testing::I(3), testing::I(4)});
  call(Method::StartLabel);
  call(Method::StartLabel);
  EXPECT_EQ(addIn.label().headerText(), once);
  EXPECT_EQ(addIn.label().bodyText(), "");
}

TEST_F(LabelHeaderTest, HeaderReadsSettingsAtTheMomentOfTheCall) {
  set(Property::LabelWidth, 50);
  call(Method::StartLabel);
  set(Property::LabelWidth, 60);
  EXPECT_NE(addIn.label().headerText().find("^W50\r"), std::string::npos);
  call(Method::StartLabel);
  EXPECT_NE(addIn.label().headerText().find("^W60\r"), std::string::npos);
}

}  // namespace
}  // namespace tagwright
