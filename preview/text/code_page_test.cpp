#include "preview/text/code_page.h"

#include <gtest/gtest.h>

namespace tagwright::preview {
namespace {

TEST(CodePage, OemAndAnsiPagesDecodeTheSameBytesToTheirOwnLetters) {
  std::string error;
  const auto oem = CodePage::open("CP866", error);
  const auto ansi = CodePage::open("CP1251", error);
  ASSERT_TRUE(oem && ansi) << error;
  // "Мир" in each page.
  EXPECT_EQ(oem->decode("\x8C\xA8\xE0"), U"\u041C\u0438\u0440");
  EXPECT_EQ(ansi->decode("\xCC\xE8\xF0"), U"\u041C\u0438\u0440");
  // One byte, two letters.
  EXPECT_EQ(oem->decode("\xE0"), U"\u0440");
  EXPECT_EQ(ansi->decode("\xE0"), U"\u0430");
  EXPECT_EQ(ansi->decode("AZ 09"), U"AZ 09");
}

TEST(CodePage, UnmappedBytesDecodeAsQuestionMarks) {
  std::string error;
  const auto ansi = CodePage::open("CP1251", error);
  ASSERT_TRUE(ansi) << error;
  EXPECT_EQ(ansi->decode("\x98"), U"?");  // the one hole in Windows-1251
}

TEST(CodePage, UnknownAndMultiBytePagesAreRefused) {
  std::string error;
  EXPECT_FALSE(CodePage::open("NO-SUCH-PAGE", error));
  EXPECT_NE(error.find("NO-SUCH-PAGE"), std::string::npos);
  error.clear();
  EXPECT_FALSE(CodePage::open("UTF-8", error));
  EXPECT_NE(error.find("single-byte"), std::string::npos);
}

}  // namespace
}  // namespace tagwright::preview
