#include "cli/profile/profile_document.h"

#include <gtest/gtest.h>

namespace tagwright::cli {
namespace {

TEST(ProfileDocument, FormatThenParseGivesTheSameValuesInTheSameOrder) {
  ProfileDocument doc;
  doc.set("Printer Tagwright", "LabelSize", 25);
  doc.set("Printer Tagwright", "TopMargin", -36);
  doc.set("Other", "Z", 2147483647);
  doc.set("Printer Tagwright", "LabelSize", 30);  // replaced in place
  ProfileParse again = parseProfile(formatProfile(doc));
  ASSERT_TRUE(again.ok());
  const auto& sections = again.value().sections();
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(sections[0].name, "Printer Tagwright");
  ASSERT_EQ(sections[0].values.size(), 2u);
  EXPECT_EQ(sections[0].values[0], (std::pair<std::string, std::int32_t>{"LabelSize", 30}));
  EXPECT_EQ(sections[0].values[1], (std::pair<std::string, std::int32_t>{"TopMargin", -36}));
  EXPECT_EQ(again.value().find("Other", "Z"), 2147483647);
}

TEST(ProfileDocument, SetReportsWhetherAnythingChanged) {
  ProfileDocument doc;
  EXPECT_TRUE(doc.set("S", "K", 1));
  EXPECT_FALSE(doc.set("S", "K", 1));
  EXPECT_TRUE(doc.set("S", "K", 2));
}

TEST(ProfileDocument, ParseAcceptsCrLfCommentsAndBlanksAndNamesTheFaultyLine) {
  ProfileParse ok = parseProfile("; c\r\n# c\r\n\r\n[S]\r\n  K\t=\t-5  \r\n");
  ASSERT_TRUE(ok.ok());
  EXPECT_EQ(ok.value().find("S", "K"), -5);

  ProfileParse bad = parseProfile("[S]\nK = 1\n\nL = x\n");
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.error().line, 4u);
}

TEST(ParseInt32, IsStrict) {
  EXPECT_EQ(parseInt32("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(parseInt32("+12"), 12);
  for (const char* bad : {"", "-", "2147483648", "1 2", "0x10", "12a", " 1", "99999999999"}) {
    EXPECT_FALSE(parseInt32(bad)) << bad;
  }
}

}  // namespace
}  // namespace tagwright::cli
