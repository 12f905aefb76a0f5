#include "core/settings/settings_persistence.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace tagwright {
namespace {

using testing::MemoryProfile;

std::vector<std::int32_t> asList(const PrinterSettings& s) {
  std::vector<std::int32_t> values;
  for (const SettingKey& key : settingKeys()) values.push_back(s.*key.field);
  return values;
}

TEST(SettingsPersistence, FreshStoreGivesTheDefaultsInKeyOrder) {
  MemoryProfile profile;
  PrinterSettings settings;
  settings.LabelSize = 999;  // must be overwritten by the store's default
  ASSERT_TRUE(LoadSettings(profile, settings));
  EXPECT_EQ(asList(settings), (std::vector<std::int32_t>{0, 0, 5, 0, 0, 25, 43, 0, 0, 0,
                                                         1, 0, 1, 0, 3, 10, 0,  0, 0, 0}));
  EXPECT_EQ(settings, PrinterSettings{});
}

TEST(SettingsPersistence, LoadsWithColonKeysAndSavesWithBareKeysInOneOrder) {
  MemoryProfile profile;
  PrinterSettings settings;
  ASSERT_TRUE(LoadSettings(profile, settings));
  SaveSettings(profile, settings);
  const std::vector<std::u16string> expected = {
      u"read:PrinterPort:0",      u"read:PrinterSpeed:0",       u"read:PrinterDarkness:5",
      u"read:PrinterStriper:0",   u"read:PrinterCutter:0",      u"read:LabelSize:25",
      u"read:LabelWidth:43",      u"read:LeftMargin:0",         u"read:TopMargin:0",
      u"read:StopPosition:0",     u"read:BarcodeWidth:1",       u"read:BarcodeNarrow:0",
      u"read:BarcodeReadable:1",  u"read:LabelType:0",          u"read:LabelGap:3",
      u"read:FeedLenght:10",      u"read:BlackMarkLenght:0",    u"read:BlackMarkPosition:0",
      u"read:LabelRotate:0",      u"read:MetodTransfer:0",      u"write:PrinterPort=0",
      u"write:PrinterSpeed=0",    u"write:PrinterDarkness=5",   u"write:PrinterStriper=0",
      u"write:PrinterCutter=0",   u"write:LabelSize=25",        u"write:LabelWidth=43",
      u"write:LeftMargin=0",      u"write:TopMargin=0",         u"write:StopPosition=0",
      u"write:BarcodeWidth=1",    u"write:BarcodeNarrow=0",     u"write:BarcodeReadable=1",
      u"write:LabelType=0",       u"write:LabelGap=3",          u"write:FeedLenght=10",
      u"write:BlackMarkLenght=0", u"write:BlackMarkPosition=0", u"write:LabelRotate=0",
      u"write:MetodTransfer=0"};
  EXPECT_EQ(profile.calls, expected);
}

TEST(SettingsPersistence, EveryValueSurvivesASaveAndLoad) {
  PrinterSettings written;
  std::int32_t next = -3;
  for (const SettingKey& key : settingKeys()) written.*key.field = next++ * 7;
  MemoryProfile profile;
  SaveSettings(profile, written);
  PrinterSettings read;
  ASSERT_TRUE(LoadSettings(profile, read));
  EXPECT_EQ(read, written);
}

TEST(SettingsPersistence, FailedFifthReadKeepsTheFirstFourAndStops) {
  MemoryProfile profile;
  profile.stored = {{u"PrinterPort", ScriptValue::int32(4)},
                    {u"PrinterDarkness", ScriptValue::int32(9)},
                    {u"LabelSize", ScriptValue::int32(70)}};
  profile.failReadAt = 4;
  PrinterSettings settings;
  settings.PrinterCutter = 11;
  settings.LabelSize = 12;
  EXPECT_FALSE(LoadSettings(profile, settings));
  EXPECT_EQ(settings.PrinterPort, 4);
  EXPECT_EQ(settings.PrinterDarkness, 9);
  EXPECT_EQ(settings.PrinterCutter, 11);
  EXPECT_EQ(settings.LabelSize, 12);
  EXPECT_EQ(profile.calls.size(), 5u);
}

TEST(SettingsPersistence, ValuesOfOtherTypesAreCoercedOrLeaveTheFieldAlone) {
  struct Case {
    ScriptValue stored;
    std::int32_t expected;
  };
  const Case cases[] = {
      {ScriptValue::text(u"42"), 42},
      {ScriptValue::text(u" -7 "), -7},
      {ScriptValue::real(2.5), 2},
      {ScriptValue::real(3.5), 4},
      {ScriptValue::real(-1.6), -2},
      {ScriptValue::otherInteger(300), 300},
      {ScriptValue::boolean(true), -1},
      {ScriptValue::text(u"12abc"), 77},
      {ScriptValue::text(u""), 77},
      {ScriptValue::text(u"99999999999"), 77},
      {ScriptValue::real(1e20), 77},
      {ScriptValue::otherInteger(1LL << 40), 77},
      {ScriptValue(), 77},
      {ScriptValue::other(), 77},
  };
  for (const Case& c : cases) {
    MemoryProfile profile;
    profile.stored = {{u"LabelWidth", c.stored}, {u"LabelGap", ScriptValue::int32(8)}};
    PrinterSettings settings;
    settings.LabelWidth = 77;
    EXPECT_TRUE(LoadSettings(profile, settings));
    EXPECT_EQ(settings.LabelWidth, c.expected) << ::testing::PrintToString(c.expected);
    EXPECT_EQ(settings.LabelGap, 8) << "the load must go on after an unreadable value";
  }
}

}  // namespace
}  // namespace tagwright
