#include "cli/profile/file_profile.h"

#include <gtest/gtest.h>

#include "core/settings/printer_settings.h"
#include "core/settings/settings_persistence.h"
#include "support/temp_dir.h"

namespace tagwright::cli {
namespace {

using test_support::contentOf;
using test_support::putFile;
using test_support::TempDir;

TEST(FileProfile, AnEmptyStoreAnswersEveryDefaultAndTheComponentGetsTheFreshRecord) {
  TempDir dir;
  FileProfile profile(dir.file("missing/profile"));
  ASSERT_TRUE(profile.load().ok());
  profile.registerAs(kProfileName);
  PrinterSettings settings;
  settings.LabelSize = 999;  // must be replaced by the answered default
  ASSERT_TRUE(LoadSettings(profile, settings));
  EXPECT_EQ(settings, PrinterSettings{});
  EXPECT_EQ(settings.LabelSize, 25);
  EXPECT_EQ(settings.BarcodeReadable, 1);
}

TEST(FileProfile, StoredValuesWinOverDefaultsAndOnlyInTheRegisteredSection) {
  TempDir dir;
  putFile(dir.file("p"),
          "# hand written\n[Other]\nLabelSize = 7\n\n[Printer Tagwright]\n  LabelSize=60 \n"
          "TopMargin = -12\n");
  FileProfile profile(dir.file("p"));
  ASSERT_TRUE(profile.load().ok());
  profile.registerAs(u"Printer Tagwright");
  ScriptValue value;
  ASSERT_TRUE(profile.read(u"LabelSize:25", value));
  EXPECT_EQ(value, ScriptValue::int32(60));
  ASSERT_TRUE(profile.read(u"TopMargin:0", value));
  EXPECT_EQ(value, ScriptValue::int32(-12));
  ASSERT_TRUE(profile.read(u"LabelWidth:43", value));
  EXPECT_EQ(value, ScriptValue::int32(43));
  // No value and no default to answer: the read fails.
  EXPECT_FALSE(profile.read(u"LabelWidth", value));
  EXPECT_FALSE(profile.read(u"LabelWidth:wide", value));
}

TEST(FileProfile, SavedValuesSurviveARestartAndOtherSectionsAreKept) {
  TempDir dir;
  const std::string path = dir.file("p");
  putFile(path, "[Other]\nX = 1\n");
  PrinterSettings written;
  for (const SettingKey& key : settingKeys()) written.*key.field = key.defaultValue + 100;
  written.BlackMarkLenght = 17;
  {
    FileProfile profile(path);
    ASSERT_TRUE(profile.load().ok());
    profile.registerAs(kProfileName);
    SaveSettings(profile, written);
    ASSERT_TRUE(profile.save().ok());
  }
  FileProfile again(path);
  ASSERT_TRUE(again.load().ok());
  again.registerAs(kProfileName);
  PrinterSettings read;
  ASSERT_TRUE(LoadSettings(again, read));
  EXPECT_EQ(read, written);
  EXPECT_EQ(again.document().find("Other", "X"), 1);
  EXPECT_NE(contentOf(path).find("BlackMarkLenght = 17"), std::string::npos);
}

TEST(FileProfile, ADamagedFileIsReportedRefusesReadsAndIsNeverOverwritten) {
  const char* damaged[] = {
      "[Printer Tagwright]\nLabelSize = 25\nLabelWidth\n",      // no '='
      "[Printer Tagwright]\nLabelSize = 2.5\n",                 // not an integer
      "[Printer Tagwright]\nLabelSize = 4294967296\n",          // beyond 32 bits
      "LabelSize = 25\n",                                       // outside a section
      "[Printer Tagwright\nLabelSize = 25\n",                   // unclosed header
      "[Printer Tagwright]\nLabelSize = 25\nLabelSize = 30\n",  // given twice
      "[Printer Tagwright]\n = 25\n",                           // no key
  };
  for (const char* text : damaged) {
    TempDir dir;
    const std::string path = dir.file("p");
    putFile(path, text);
    FileProfile profile(path);
    const Status loaded = profile.load();
    ASSERT_FALSE(loaded.ok()) << text;
    EXPECT_EQ(loaded.error().rfind(path + ":", 0), 0u) << loaded.error();
    EXPECT_NE(loaded.error().find("left as it is"), std::string::npos);

    profile.registerAs(kProfileName);
    ScriptValue value;
    EXPECT_FALSE(profile.read(u"LabelSize:25", value)) << text;
    PrinterSettings settings;
    EXPECT_FALSE(LoadSettings(profile, settings));
    SaveSettings(profile, settings);
    EXPECT_FALSE(profile.save().ok());
    EXPECT_EQ(contentOf(path), text);
    EXPECT_EQ(dir.entries(), 1u);
  }
}

TEST(FileProfile, NothingIsWrittenWhenNoValueChanged) {
  TempDir dir;
  const std::string path = dir.file("p");
  putFile(path, "[Printer Tagwright]\nLabelSize = 25 // kept\n");
  FileProfile damagedLooking(path);
  ASSERT_FALSE(damagedLooking.load().ok());  // "25 // kept" is not an integer

  putFile(path, "; mine\n[Printer Tagwright]\nLabelSize = 25\n");
  FileProfile profile(path);
  ASSERT_TRUE(profile.load().ok());
  profile.registerAs(kProfileName);
  profile.write(u"LabelSize", 25);
  ASSERT_TRUE(profile.save().ok());
  EXPECT_EQ(contentOf(path), "; mine\n[Printer Tagwright]\nLabelSize = 25\n");
}

}  // namespace
}  // namespace tagwright::cli
