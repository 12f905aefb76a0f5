#include "core/text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace tagwright {
namespace {

TEST(Utf8, RoundTripsEveryLengthOfSequence) {
  const std::u32string text = U"A\u00E9\u041C\u20AC\U0001F600";
  const std::string bytes = "A\xC3\xA9\xD0\x9C\xE2\x82\xAC\xF0\x9F\x98\x80";
  EXPECT_EQ(toUtf8(text), bytes);
  ASSERT_TRUE(decodeUtf8(bytes).ok());
  EXPECT_EQ(decodeUtf8(bytes).value(), text);
  EXPECT_EQ(decodeUtf8Replacing(bytes), text);
  const std::u16string utf16 = u"A\u00E9\u041C\u20AC\U0001F600";
  EXPECT_EQ(toUtf16(text), utf16);
  EXPECT_EQ(utf8ToUtf16(bytes), utf16);
  EXPECT_EQ(toUtf8(utf16), bytes);
  // The edges of each length, and the highest code point.
  const std::u32string edges = U"\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF";
  EXPECT_EQ(decodeUtf8(toUtf8(edges)).value(), edges);
  EXPECT_EQ(toUtf8(toUtf16(edges)), toUtf8(edges));
}

// Each fault with the byte where its sequence starts, the code points before
// it and the words the script reader shows.
TEST(Utf8, StrictDecodingReportsTheFirstFaultWithItsPlace) {
  struct Case {
    std::string bytes;
    std::size_t byteOffset;
    std::size_t decodedCount;
    const char* reason;
  };
  const Case cases[] = {
      {"ab\xFF", 2, 2, "byte 0xFF cannot start a character"},
      {"\x80", 0, 0, "byte 0x80 cannot start a character"},
      {"\xC0\xAF", 0, 0, "byte 0xC0 cannot start a character"},
      {"\xD0\x96\xC3\x28", 2, 1, "byte 0x28 inside a multi-byte character"},
      {"\xE0\x80\xAF", 0, 0, "overlong encoding"},
      {"x\xED\xA0\x80", 1, 1, "encoded surrogate"},
      {"\xF4\x90\x80\x80", 0, 0, "code point above U+10FFFF"},
      {"ab\xE2\x82", 2, 2, "character cut short at the end of the file"},
      {"\xE2\x41", 0, 0, "character cut short at the end of the file"},  // cut before bad
      {"\xFF\x80", 0, 0, "byte 0xFF cannot start a character"},          // first fault only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    const auto decoded = decodeUtf8(c.bytes);
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.error().byteOffset, c.byteOffset);
    EXPECT_EQ(decoded.error().decodedCount, c.decodedCount);
    EXPECT_EQ(decoded.error().reason, c.reason);
  }
}

// For the terminal and the preview: every byte that starts no valid sequence
// is one U+FFFD, and what follows it is decoded again.
TEST(Utf8, LenientDecodingReplacesEachBadByte) {
  struct Case {
    std::string bytes;
    std::u32string text;
  };
  const Case cases[] = {
      {"a\xC3", U"a\uFFFD"},
      {"\xFF"
       "b",
       U"\uFFFD"
       U"b"},
      {"\xE2\x82", U"\uFFFD\uFFFD"},
      {"\xC3\xC3\xA9", U"\uFFFD\u00E9"},
      {"\xC0\xAF", U"\uFFFD\uFFFD"},
      {"\xED\xA0\x80z", U"\uFFFD\uFFFD\uFFFDz"},
      {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.text));
    EXPECT_EQ(decodeUtf8Replacing(c.bytes), c.text);
    EXPECT_EQ(utf8ToUtf16(c.bytes), toUtf16(c.text));
  }
}

TEST(Utf8, LoneSurrogatesBecomeReplacementCharacters) {
  const std::u16string lone[] = {std::u16string(1, char16_t(0xD83D)) + u"x",
                                 u"x" + std::u16string(1, char16_t(0xDE00)),
                                 std::u16string{char16_t(0xDE00), char16_t(0xD83D)}};
  EXPECT_EQ(toUtf8(lone[0]), "\xEF\xBF\xBDx");
  EXPECT_EQ(toUtf8(lone[1]), "x\xEF\xBF\xBD");
  EXPECT_EQ(toUtf8(lone[2]), "\xEF\xBF\xBD\xEF\xBF\xBD");
  const std::u16string pair = u"\U0001F600";
  EXPECT_EQ(utf16CharacterLength(pair, 0), 2u);
  EXPECT_EQ(utf16CharacterLength(pair, 1), 1u);
  EXPECT_EQ(utf16CharacterLength(lone[0], 0), 1u);
  EXPECT_EQ(utf16CharacterLength(lone[2], 0), 1u);
}

TEST(Utf8, SequenceAtAByteGivesItsCharacterOrNothing) {
  const std::string bytes = "a\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80\xC3";
  struct Case {
    std::size_t at;
    char32_t value;
    std::size_t length;  // 0: no valid sequence starts there
  };
  const Case cases[] = {{0, U'a', 1},    {1, 0x416, 2}, {2, 0, 0},  {3, 0x20AC, 3},
                        {6, 0x1F600, 4}, {10, 0, 0},    {11, 0, 0}, {99, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    const auto sequence = utf8SequenceAt(bytes, c.at);
    ASSERT_EQ(sequence.has_value(), c.length != 0);
    if (!sequence) continue;
    EXPECT_EQ(sequence->value, c.value);
    EXPECT_EQ(sequence->length, c.length);
  }
}

}  // namespace
}  // namespace tagwright
