#include "platform/posix/iconv_code_pages.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace tagwright {
namespace {

// iconv itself, one whole text in one call, for texts that it converts
// without an error: the tables must agree with it.
std::string iconvWhole(const std::string& to, const std::string& from, const std::string& bytes) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string out(bytes.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  char* o = out.data();
  std::size_t inLeft = bytes.size();
  std::size_t outLeft = out.size();
  EXPECT_NE(iconv(cd, &in, &inLeft, &o, &outLeft), static_cast<std::size_t>(-1));
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

std::string utf16Bytes(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::u16string fromUtf16Bytes(const std::string& bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return text;
}

struct PagePair {
  const char* ansi;
  const char* oem;
};
const PagePair kPages[] = {
    {"CP1251", "CP866"}, {"CP1252", "CP437"}, {"CP1250", "CP852"}, {"KOI8-R", "ISO-8859-5"}};

TEST(IconvCodePages, EveryMappedByteAndCharacterAgreesWithIconvOnTheWholeText) {
  for (const PagePair& p : kPages) {
    SCOPED_TRACE(p.ansi);
    IconvCodePages pages(p.ansi, p.oem);
    // Every byte that the page maps, converted to UTF-16 by the table and
    // by iconv in one call, and back again.
    std::string mapped;
    for (int b = 0; b < 256; ++b) {
      const std::string one(1, static_cast<char>(b));
      if (pages.fromAnsi(one) != u"?" || b == '?') mapped += one;
    }
    ASSERT_GT(mapped.size(), 200u);
    const std::u16string text = pages.fromAnsi(mapped);
    EXPECT_EQ(text, fromUtf16Bytes(iconvWhole("UTF-16LE", p.ansi, mapped)));
    EXPECT_EQ(pages.toAnsi(text), mapped);
    EXPECT_EQ(pages.toAnsi(text), iconvWhole(p.ansi, "UTF-16LE", utf16Bytes(text)));
  }
}

TEST(IconvCodePages, AnsiToOemIsByteForByteWithQuestionMarksForTheGaps) {
  IconvCodePages pages("CP1251", "CP866");
  // Cyrillic letters exist in both pages; the euro sign (0x88) and the
  // unused 0x98 of 1251 do not exist in 866.
  const std::string ansi = "\xC0\xFF\xA8\xB8 A1\x88\x98z";
  const std::string oem = pages.ansiToOem(ansi);
  ASSERT_EQ(oem.size(), ansi.size());
  EXPECT_EQ(oem.substr(0, 7), iconvWhole("CP866", "CP1251", ansi.substr(0, 7)));
  EXPECT_EQ(oem.substr(7), "??z");
}

TEST(IconvCodePages, CharactersWithoutAMappingBecomeOneQuestionMarkEach) {
  IconvCodePages pages("CP1251", "CP866");
  struct Case {
    std::u16string text;
    std::string ansi;
  };
  const Case cases[] = {
      {u"Цена €5",
       "\xD6\xE5\xED\xE0 \x88"
       "5"},
      {u"中文", "??"},
      {u"a\U0001F600b", "a?b"},                                 // a pair is one character
      {std::u16string(u"a") + char16_t(0xD83D) + u"b", "a?b"},  // lone high surrogate
      {std::u16string(u"a") + char16_t(0xDE00) + u"b", "a?b"},  // lone low surrogate
      {std::u16string(u"a") + char16_t(0xD83D), "a?"},          // high surrogate at the end
      {std::u16string(1, u'\0') + u"x", std::string("\0x", 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ansi);
    EXPECT_EQ(pages.toAnsi(c.text), c.ansi);
  }
  EXPECT_EQ(IconvCodePages("CP866", "CP866").fromAnsi("\xFF"), u"\u00A0");
}

// CP1258 writes some precomposed letters as a base letter and a combining
// mark, as iconv does.
TEST(IconvCodePages, CharactersThatAPageWritesAsTwoBytesKeepBoth) {
  IconvCodePages pages("CP1258", "CP437");
  const std::u16string text = u"Vi\u1EC7t Nam \u1EBF";
  const std::string expected = iconvWhole("CP1258", "UTF-16LE", utf16Bytes(text));
  ASSERT_GT(expected.size(), text.size());
  EXPECT_EQ(pages.toAnsi(text), expected);
}

TEST(IconvCodePages, RefusesUnknownAndMultiByteCodePagesWithTheirNames) {
  const char* refused[] = {"NO-SUCH-PAGE", "CP932", "UTF-8"};
  for (const char* name : refused) {
    SCOPED_TRACE(name);
    try {
      IconvCodePages pages(name, "CP866");
      ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
    }
  }
}

TEST(IconvCodePages, ConvertsOnManyThreadsAtOnce) {
  const std::u16string text = u"Молоко 1 л, цена 99.90 — скидка";
  const std::string expected = IconvCodePages().toAnsi(text);
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (std::size_t t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      IconvCodePages pages;
      for (int i = 0; i < 2000; ++i) {
        if (pages.toAnsi(text) != expected || pages.fromAnsi(expected).size() != text.size()) {
          ++wrong[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace tagwright
