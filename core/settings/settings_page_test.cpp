#include "core/settings/settings_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings/page_ids.h"
#include "support/memory_page_controls.h"

namespace tagwright {
namespace {

using namespace page_id;
using testing::MemoryPageControls;

class StatusLog final : public PageSite {
 public:
  std::vector<PageStatus> seen;
  void statusChanged(PageStatus status) override { seen.push_back(status); }
};

class LinkLog final : public PageLinks {
 public:
  int webPages = 0;
  int mails = 0;
  void openWebPage() override { ++webPages; }
  void openSupportMail() override { ++mails; }
};

// The object the page edits: a settings record behind the group exchange,
// counting the group writes.
class EditedObject final : public PropertyLink {
 public:
  PrinterSettings settings;
  int groupWrites = 0;
  PrinterGroup getPrinterGroup() override { return tagwright::getPrinterGroup(settings); }
  void setPrinterGroup(const PrinterGroup& g) override {
    tagwright::setPrinterGroup(settings, g);
    ++groupWrites;
  }
  LabelGroup getLabelGroup() override { return tagwright::getLabelGroup(settings); }
  void setLabelGroup(const LabelGroup& g) override {
    tagwright::setLabelGroup(settings, g);
    ++groupWrites;
  }
  MediaGroup getMediaGroup() override { return tagwright::getMediaGroup(settings); }
  void setMediaGroup(const MediaGroup& g) override {
    tagwright::setMediaGroup(settings, g);
    ++groupWrites;
  }
};

std::u16string u16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

class SettingsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    controls.onEvent = [this](int id, PageEvent e) { page.handle(id, e); };
    page.setSite(&site);
  }
  void activate() { page.activate(controls, links, &edited); }
  void activateWith(const PrinterSettings& s) {
    edited.settings = s;
    activate();
  }
  // Applies and returns what reached the edited object.
  PrinterSettings apply() {
    page.apply(&edited);
    return edited.settings;
  }
  std::u16string shown(int edit) const { return controls.text(edit); }

  SettingsPage page;
  MemoryPageControls controls;
  StatusLog site;
  LinkLog links;
  EditedObject edited;
};

TEST_F(SettingsPageTest, FillShowsEveryFieldOfTheEditedObject) {
  PrinterSettings s;
  s.PrinterPort = 12;
  s.PrinterSpeed = 3;
  s.PrinterDarkness = 19;
  s.PrinterCutter = 4;
  s.LabelSize = 58;
  s.LabelWidth = 9999;
  s.LeftMargin = 3;
  s.TopMargin = -20;
  s.StopPosition = 7;
  s.BarcodeWidth = 9;
  s.BarcodeNarrow = 1;
  s.BarcodeReadable = 0;
  s.LabelRotate = 1;
  s.MetodTransfer = 1;
  s.BlackMarkPosition = 15;
  activateWith(s);

  const auto& port = controls.lists[kPortList];
  ASSERT_EQ(port.entries.size(), 13u);
  EXPECT_EQ(port.entries[0], u"LPT1");
  EXPECT_EQ(port.entries[2], u"LPT3");
  EXPECT_EQ(port.entries[3], u"COM1");
  EXPECT_EQ(port.entries[11], u"COM9");
  EXPECT_EQ(port.entries[12], u"USB (серия Plus)");
  EXPECT_EQ(port.selection, 12);
  EXPECT_EQ(controls.lists[kSpeedList].entries,
            (std::vector<std::u16string>{u"2", u"3", u"4", u"5", u"6"}));
  EXPECT_EQ(controls.listSelection(kSpeedList), 3);
  ASSERT_EQ(controls.lists[kDarknessList].entries.size(), 20u);
  EXPECT_EQ(controls.lists[kDarknessList].entries.back(), u"19");
  EXPECT_EQ(controls.listSelection(kDarknessList), 19);
  ASSERT_EQ(controls.lists[kBarcodeWidthList].entries.size(), 10u);
  EXPECT_EQ(controls.lists[kBarcodeWidthList].entries.front(), u"1");
  EXPECT_EQ(controls.listSelection(kBarcodeWidthList), 9);

  EXPECT_FALSE(controls.isChecked(kStripperBox));
  EXPECT_TRUE(controls.isChecked(kCutterBox));
  EXPECT_FALSE(controls.isChecked(kRatio2To1Radio));
  EXPECT_TRUE(controls.isChecked(kRatio3To1Radio));
  EXPECT_FALSE(controls.isChecked(kRatio5To2Radio));
  EXPECT_FALSE(controls.isChecked(kReadableBox));
  EXPECT_TRUE(controls.isChecked(kRotateBox));
  EXPECT_FALSE(controls.isChecked(kDirectThermalRadio));
  EXPECT_TRUE(controls.isChecked(kThermalTransferRadio));

  struct Edit {
    int edit;
    const char16_t* text;
    int spin;
    std::int32_t low, high;
  };
  const Edit edits[] = {
      {kCutterCountEdit, u"4", kCutterCountSpin, 1, 9999},
      {kLabelHeightEdit, u"58", kLabelHeightSpin, 0, 9999},
      {kLabelWidthEdit, u"9999", kLabelWidthSpin, 0, 9999},
      {kLeftOffsetEdit, u"3", kLeftOffsetSpin, 5, 9999},
      {kTopOffsetEdit, u"-20", kTopOffsetSpin, -36, 36},
      {kStopPositionEdit, u"7", kStopPositionSpin, 0, 40},
      {kBlackMarkOffsetEdit, u"15", kBlackMarkOffsetSpin, 0, 9999},
      {kMediaLengthEdit, u"3", kMediaLengthSpin, 1, 255},
  };
  for (const Edit& e : edits) {
    EXPECT_EQ(shown(e.edit), e.text) << e.edit;
    EXPECT_EQ(controls.spinRanges[e.spin].low, e.low) << e.spin;
    EXPECT_EQ(controls.spinRanges[e.spin].high, e.high) << e.spin;
  }
}

TEST_F(SettingsPageTest, FillingLeavesThePageCleanAndAsksTheSiteToLookOnce) {
  activate();
  EXPECT_FALSE(page.isDirty());
  // The edits echo every text the page puts in; none of that is the user's.
  EXPECT_EQ(site.seen, std::vector<PageStatus>{PageStatus::None});
}

TEST_F(SettingsPageTest, MediaDecidesTheLengthEditAndTheBlackMarkControls) {
  struct Case {
    std::int32_t labelType;
    int radio;
    const char16_t* caption;
    const char16_t* length;
    std::int32_t low, high;
    bool blackMarkShown;
  };
  const Case cases[] = {
      {0, kGapLabelsRadio, u"Зазор между этикетками :", u"4", 1, 255, false},
      {1, kContinuousTapeRadio, u"Длина прогона бумаги :", u"120", 0, 9999, false},
      {2, kBlackMarkRadio, u"Длина черной метки :", u"6", 0, 9999, true},
      {7, kBlackMarkRadio, u"Длина черной метки :", u"6", 0, 9999, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.labelType);
    PrinterSettings s;
    s.LabelType = c.labelType;
    s.LabelGap = 4;
    s.FeedLenght = 120;
    s.BlackMarkLenght = 6;
    activateWith(s);
    for (int radio : {kGapLabelsRadio, kContinuousTapeRadio, kBlackMarkRadio}) {
      EXPECT_EQ(controls.isChecked(radio), radio == c.radio) << radio;
    }
    EXPECT_EQ(controls.text(kMediaLengthCaption), c.caption);
    EXPECT_EQ(shown(kMediaLengthEdit), c.length);
    EXPECT_EQ(controls.spinRanges[kMediaLengthSpin].low, c.low);
    EXPECT_EQ(controls.spinRanges[kMediaLengthSpin].high, c.high);
    for (int id : {kBlackMarkOffsetEdit, kBlackMarkOffsetSpin, kBlackMarkOffsetCaption,
                   kBlackMarkOffsetUnit}) {
      EXPECT_EQ(controls.isVisible(id), c.blackMarkShown) << id;
    }
    EXPECT_EQ(page.settings().LabelType, c.labelType == 7 ? 2 : c.labelType);
  }
}

TEST_F(SettingsPageTest, SwitchingMediaKeepsEachLengthTypedForTheMediaLeftBehind) {
  PrinterSettings s;
  s.LabelType = 2;
  s.LabelGap = 4;
  s.FeedLenght = 120;
  s.BlackMarkLenght = 6;
  activateWith(s);

  controls.type(kMediaLengthEdit, u"9");  // black mark length
  controls.click(kGapLabelsRadio);
  EXPECT_EQ(shown(kMediaLengthEdit), u"4");
  EXPECT_FALSE(controls.isVisible(kBlackMarkOffsetEdit));
  EXPECT_FALSE(controls.isVisible(kBlackMarkOffsetCaption));
  controls.type(kMediaLengthEdit, u"300");
  controls.focus(kLabelHeightEdit);
  EXPECT_EQ(shown(kMediaLengthEdit), u"255");
  controls.type(kMediaLengthEdit, u"0");
  controls.click(kContinuousTapeRadio);
  EXPECT_EQ(shown(kMediaLengthEdit), u"120");
  controls.click(kBlackMarkRadio);
  EXPECT_EQ(shown(kMediaLengthEdit), u"9");
  EXPECT_TRUE(controls.isVisible(kBlackMarkOffsetEdit));

  const PrinterSettings got = apply();
  EXPECT_EQ(got.LabelType, 2);
  EXPECT_EQ(got.LabelGap, 1);
  EXPECT_EQ(got.FeedLenght, 120);
  EXPECT_EQ(got.BlackMarkLenght, 9);
}

TEST_F(SettingsPageTest, LeavingAnEditClampsTheNumberKeepsItAndShowsIt) {
  struct Case {
    std::int32_t labelType;
    int edit;
    const char16_t* typed;
    std::int32_t PrinterSettings::*field;
    std::int32_t kept;
  };
  const Case cases[] = {
      {0, kMediaLengthEdit, u"300", &PrinterSettings::LabelGap, 255},
      {0, kMediaLengthEdit, u"0", &PrinterSettings::LabelGap, 1},
      {0, kMediaLengthEdit, u"", &PrinterSettings::LabelGap, 1},
      {1, kMediaLengthEdit, u"0", &PrinterSettings::FeedLenght, 0},
      {1, kMediaLengthEdit, u"12345", &PrinterSettings::FeedLenght, 9999},
      {2, kMediaLengthEdit, u"10000", &PrinterSettings::BlackMarkLenght, 9999},
      {2, kBlackMarkOffsetEdit, u"99999999999", &PrinterSettings::BlackMarkPosition, 9999},
      {0, kStopPositionEdit, u"50", &PrinterSettings::StopPosition, 40},
      {0, kTopOffsetEdit, u"40", &PrinterSettings::TopMargin, 36},
      {0, kTopOffsetEdit, u"-37", &PrinterSettings::TopMargin, -36},
      {0, kTopOffsetEdit, u"-36", &PrinterSettings::TopMargin, -36},
      {0, kLeftOffsetEdit, u"0", &PrinterSettings::LeftMargin, 0},
      {0, kLeftOffsetEdit, u"10000", &PrinterSettings::LeftMargin, 9999},
      {0, kLabelHeightEdit, u"abc", &PrinterSettings::LabelSize, 0},
      {0, kLabelHeightEdit, u"12mm", &PrinterSettings::LabelSize, 12},
      {0, kLabelWidthEdit, u"9999", &PrinterSettings::LabelWidth, 9999},
      {0, kCutterCountEdit, u"0", &PrinterSettings::PrinterCutter, 1},
      {0, kCutterCountEdit, u"10000", &PrinterSettings::PrinterCutter, 9999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.edit) + " typed " +
                 std::string(c.typed, c.typed + std::char_traits<char16_t>::length(c.typed)));
    PrinterSettings s;
    s.LabelType = c.labelType;
    activateWith(s);
    controls.type(c.edit, c.typed);
    controls.focus(kPortList);
    EXPECT_EQ(page.settings().*c.field, c.kept);
    EXPECT_EQ(shown(c.edit), u16(std::to_string(c.kept)));
  }
}

TEST_F(SettingsPageTest, StripperAndCutterExcludeEachOther) {
  PrinterSettings s;
  s.PrinterStriper = 1;
  activateWith(s);
  ASSERT_TRUE(controls.isChecked(kStripperBox));
  ASSERT_FALSE(controls.isChecked(kCutterBox));

  controls.click(kCutterBox);
  EXPECT_TRUE(controls.isChecked(kCutterBox));
  EXPECT_FALSE(controls.isChecked(kStripperBox));
  EXPECT_EQ(shown(kCutterCountEdit), u"1");
  EXPECT_EQ(page.settings().PrinterCutter, 1);
  EXPECT_EQ(page.settings().PrinterStriper, 0);

  controls.click(kStripperBox);
  EXPECT_TRUE(controls.isChecked(kStripperBox));
  EXPECT_FALSE(controls.isChecked(kCutterBox));
  EXPECT_EQ(shown(kCutterCountEdit), u"0");
  EXPECT_EQ(page.settings().PrinterCutter, 0);
  EXPECT_EQ(page.settings().PrinterStriper, 1);

  // Going into the count means cutting; the count is taken when leaving.
  controls.focus(kCutterCountEdit);
  EXPECT_TRUE(controls.isChecked(kCutterBox));
  EXPECT_FALSE(controls.isChecked(kStripperBox));
  EXPECT_EQ(page.settings().PrinterStriper, 0);
  EXPECT_EQ(page.settings().PrinterCutter, 0);
  controls.focus(kLabelHeightEdit);
  EXPECT_EQ(shown(kCutterCountEdit), u"1");
  EXPECT_EQ(page.settings().PrinterCutter, 1);

  const PrinterSettings got = apply();
  EXPECT_EQ(got.PrinterStriper, 0);
  EXPECT_EQ(got.PrinterCutter, 1);
}

TEST_F(SettingsPageTest, UncheckingTheCutterStopsCuttingAndKeepsTheStripperOff) {
  PrinterSettings s;
  s.PrinterCutter = 25;
  activateWith(s);
  controls.click(kCutterBox);
  EXPECT_FALSE(controls.isChecked(kCutterBox));
  EXPECT_EQ(shown(kCutterCountEdit), u"0");
  const PrinterSettings got = apply();
  EXPECT_EQ(got.PrinterCutter, 0);
  EXPECT_EQ(got.PrinterStriper, 0);
}

TEST_F(SettingsPageTest, ApplySendsWhatTheControlsShow) {
  activate();
  controls.select(kPortList, 4);
  controls.select(kSpeedList, 2);
  controls.select(kDarknessList, 11);
  controls.click(kThermalTransferRadio);
  controls.type(kLabelHeightEdit, u"30");
  controls.type(kLabelWidthEdit, u"57");
  controls.type(kLeftOffsetEdit, u"8");
  controls.type(kTopOffsetEdit, u"-4");
  controls.type(kStopPositionEdit, u"12");
  controls.click(kRotateBox);
  controls.select(kBarcodeWidthList, 3);
  controls.click(kRatio5To2Radio);
  controls.click(kReadableBox);
  controls.click(kBlackMarkRadio);
  controls.type(kMediaLengthEdit, u"5");
  controls.type(kBlackMarkOffsetEdit, u"2");
  controls.focus(kPortList);

  PrinterSettings expected;
  expected.PrinterPort = 4;
  expected.PrinterSpeed = 2;
  expected.PrinterDarkness = 11;
  expected.MetodTransfer = 1;
  expected.LabelSize = 30;
  expected.LabelWidth = 57;
  expected.LeftMargin = 8;
  expected.TopMargin = -4;
  expected.StopPosition = 12;
  expected.LabelRotate = 1;
  expected.BarcodeWidth = 3;
  expected.BarcodeNarrow = 2;
  expected.BarcodeReadable = 0;
  expected.LabelType = 2;
  expected.BlackMarkLenght = 5;
  expected.BlackMarkPosition = 2;
  EXPECT_EQ(apply(), expected);
  EXPECT_EQ(edited.groupWrites, 3);
  EXPECT_FALSE(page.isDirty());
}

TEST_F(SettingsPageTest, ApplyTakesTheEditStillBeingTypedIn) {
  PrinterSettings s;
  s.LabelType = 1;
  s.LabelGap = 4;
  s.BlackMarkLenght = 6;
  activateWith(s);
  controls.type(kMediaLengthEdit, u"77");
  ASSERT_EQ(controls.focused(), kMediaLengthEdit);
  PrinterSettings got = apply();
  EXPECT_EQ(got.FeedLenght, 77);
  EXPECT_EQ(got.LabelGap, 4);
  EXPECT_EQ(got.BlackMarkLenght, 6);

  // A value typed beyond the range is clamped as leaving the edit would.
  controls.type(kStopPositionEdit, u"50");
  got = apply();
  EXPECT_EQ(got.StopPosition, 40);
  EXPECT_EQ(shown(kStopPositionEdit), u"40");

  // So is a cutter count typed without leaving the edit.
  controls.type(kCutterCountEdit, u"7");
  EXPECT_EQ(apply().PrinterCutter, 7);
}

// Values that no list offers show as no selection; an untouched Apply sends
// them back as stored (it used to send -1, which the next label printed as
// ^S1 or ^H-1), and an entry picked later is applied as its index.
TEST_F(SettingsPageTest, ValuesNoListOffersSurviveAnApplyUntilAnEntryIsPicked) {
  struct Case {
    int list;
    std::int32_t PrinterSettings::*field;
    std::int32_t stored;
    std::int32_t picked;
  };
  const Case cases[] = {
      {kPortList, &PrinterSettings::PrinterPort, 13, 2},
      {kSpeedList, &PrinterSettings::PrinterSpeed, 5, 1},
      {kDarknessList, &PrinterSettings::PrinterDarkness, 20, 9},
      {kBarcodeWidthList, &PrinterSettings::BarcodeWidth, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    PrinterSettings s;
    s.*c.field = c.stored;
    activateWith(s);
    EXPECT_EQ(controls.listSelection(c.list), -1);
    EXPECT_EQ(apply().*c.field, c.stored);
    EXPECT_EQ(apply().*c.field, c.stored) << "a second Apply keeps it too";
    controls.select(c.list, c.picked);
    EXPECT_EQ(apply().*c.field, c.picked);
  }
}

TEST_F(SettingsPageTest, AnUnknownRatioShowsAsFiveToTwoAndAppliesAsTwo) {
  PrinterSettings s;
  s.BarcodeNarrow = 5;
  activateWith(s);
  EXPECT_TRUE(controls.isChecked(kRatio5To2Radio));
  EXPECT_FALSE(controls.isChecked(kRatio2To1Radio));
  EXPECT_FALSE(controls.isChecked(kRatio3To1Radio));
  EXPECT_EQ(apply().BarcodeNarrow, 2);
}

TEST_F(SettingsPageTest, UntouchedValuesFromTheStoreGoBackUnchanged) {
  PrinterSettings s;
  s.LabelType = 2;
  s.BlackMarkPosition = -5;
  s.LabelGap = 300;
  s.StopPosition = 90;
  activateWith(s);
  EXPECT_EQ(shown(kBlackMarkOffsetEdit), u"-5");
  EXPECT_EQ(apply(), s);
}

TEST_F(SettingsPageTest, SiteHearsOfDirtyAndCleanOnlyWhenTheFlagChanges) {
  activate();
  site.seen.clear();

  controls.type(kLabelHeightEdit, u"3");
  controls.type(kLabelHeightEdit, u"30");
  controls.select(kSpeedList, 1);
  controls.focus(kLabelWidthEdit);
  EXPECT_TRUE(page.isDirty());
  EXPECT_EQ(site.seen, std::vector<PageStatus>{PageStatus::Dirty});

  page.apply(&edited);
  page.apply(&edited);
  EXPECT_EQ(site.seen, (std::vector<PageStatus>{PageStatus::Dirty, PageStatus::Clean}));

  // Leaving an edit that shows the kept value changes nothing.
  controls.focus(kLabelHeightEdit);
  controls.focus(kPortList);
  EXPECT_FALSE(page.isDirty());
  EXPECT_EQ(site.seen.size(), 2u);
}

TEST_F(SettingsPageTest, ClampingAValueFromTheStoreMakesThePageDirty) {
  PrinterSettings s;
  s.StopPosition = 90;
  activateWith(s);
  controls.focus(kStopPositionEdit);
  EXPECT_FALSE(page.isDirty());
  controls.focus(kPortList);
  EXPECT_TRUE(page.isDirty());
  EXPECT_EQ(apply().StopPosition, 40);
}

TEST_F(SettingsPageTest, EveryClickMarksDirtyAndTheLinkButtonsOpenTheirTargets) {
  activate();
  controls.click(kWebPageButton);
  EXPECT_TRUE(page.isDirty());
  controls.click(kSupportMailButton);
  EXPECT_EQ(links.webPages, 1);
  EXPECT_EQ(links.mails, 1);
}

TEST_F(SettingsPageTest, WithoutALinkThePageWorksOnItsOwnCopyAndApplySendsNothing) {
  page.settings().LabelSize = 70;
  page.activate(controls, links, nullptr);
  EXPECT_EQ(shown(kLabelHeightEdit), u"70");
  controls.type(kLabelHeightEdit, u"71");
  ASSERT_TRUE(page.isDirty());
  page.apply(nullptr);
  EXPECT_FALSE(page.isDirty());
  EXPECT_EQ(page.settings().LabelSize, 71);
  EXPECT_EQ(edited.groupWrites, 0);
}

TEST_F(SettingsPageTest, AfterDeactivationTheControlsAreLeftAloneAndApplySendsTheUsersValues) {
  activate();
  controls.select(kPortList, 5);
  controls.type(kLabelWidthEdit, u"64");
  page.deactivate();
  EXPECT_FALSE(page.isActive());

  controls.click(kCutterBox);
  controls.type(kLabelWidthEdit, u"1");
  EXPECT_EQ(page.settings().PrinterCutter, 0);

  const PrinterSettings got = apply();
  EXPECT_EQ(got.PrinterPort, 5);
  EXPECT_EQ(got.LabelWidth, 64);
  EXPECT_EQ(got.PrinterCutter, 0);
}

TEST_F(SettingsPageTest, EachActivationRefillsFromTheEditedObject) {
  activate();
  controls.type(kLabelWidthEdit, u"64");
  page.deactivate();
  edited.settings.LabelWidth = 80;
  site.seen.clear();
  MemoryPageControls fresh;
  fresh.onEvent = [this](int id, PageEvent e) { page.handle(id, e); };
  page.activate(fresh, links, &edited);
  EXPECT_EQ(fresh.text(kLabelWidthEdit), u"80");
  EXPECT_EQ(site.seen, (std::vector<PageStatus>{PageStatus::Clean, PageStatus::None}));
}

}  // namespace
}  // namespace tagwright
