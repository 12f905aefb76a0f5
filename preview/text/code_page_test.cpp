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

// Linux asks iconv for the tables and Windows asks MultiByteToWideChar; the
// pictures are the same only if both give every byte the same character.
// One byte from each region of each page the preview is used with: the
// controls, ASCII, the letters, the box drawing, the holes, and the C1
// controls that are characters in the ISO pages but holes in Windows'.
TEST(CodePage, EachRegionOfThePagesDecodesAlikeOnEverySystem) {
  struct Case {
    const char* page;
    unsigned char byte;
    char32_t character;
  };
  for (const Case& c : {
           Case{"CP866", 0x00, U'\u0000'},        Case{"CP866", 0x1F, U'\u001F'},
           Case{"CP866", 0x7F, U'\u007F'},        Case{"CP866", 0x80, U'\u0410'},
           Case{"CP866", 0xAF, U'\u043F'},        Case{"CP866", 0xB0, U'\u2591'},
           Case{"CP866", 0xC4, U'\u2500'},        Case{"CP866", 0xDB, U'\u2588'},
           Case{"CP866", 0xE0, U'\u0440'},        Case{"CP866", 0xF0, U'\u0401'},
           Case{"CP866", 0xFC, U'\u2116'},        Case{"CP866", 0xFF, U'\u00A0'},
           Case{"CP1251", 0x0D, U'\u000D'},       Case{"CP1251", 0x80, U'\u0402'},
           Case{"CP1251", 0x88, U'\u20AC'},       Case{"CP1251", 0x98, U'?'},
           Case{"CP1251", 0xA0, U'\u00A0'},       Case{"CP1251", 0xA8, U'\u0401'},
           Case{"CP1251", 0xB9, U'\u2116'},       Case{"CP1251", 0xC0, U'\u0410'},
           Case{"CP1251", 0xFF, U'\u044F'},       Case{"ISO-8859-5", 0x85, U'\u0085'},
           Case{"ISO-8859-5", 0xB0, U'\u0410'},   Case{"KOI8-R", 0x80, U'\u2500'},
           Case{"KOI8-R", 0xC1, U'\u0430'},       Case{"cp1251", 0xE0, U'\u0430'},
           Case{"WINDOWS-1251", 0xE0, U'\u0430'}, Case{"IBM866", 0xE0, U'\u0440'},
       }) {
    std::string error;
    const auto page = CodePage::open(c.page, error);
    ASSERT_TRUE(page) << c.page << ": " << error;
    const char byte = static_cast<char>(c.byte);
    EXPECT_EQ(page->decode(std::string_view(&byte, 1)), std::u32string(1, c.character))
        << c.page << " byte " << static_cast<int>(c.byte);
  }
}

TEST(CodePage, UnknownAndMultiBytePagesAreRefused) {
  std::string error;
  EXPECT_FALSE(CodePage::open("NO-SUCH-PAGE", error));
  EXPECT_NE(error.find("NO-SUCH-PAGE"), std::string::npos);
  // Windows' number of "the current ANSI page" is no page of its own.
  EXPECT_FALSE(CodePage::open("CP0", error));
  error.clear();
  EXPECT_FALSE(CodePage::open("UTF-8", error));
  EXPECT_NE(error.find("single-byte"), std::string::npos);
}

}  // namespace
}  // namespace tagwright::preview
