#include "platform/posix/iconv_converter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tagwright {
namespace {

std::string utf32le(const std::string& ascii) {
  std::string bytes;
  for (char c : ascii) bytes += std::string{c, '\0', '\0', '\0'};
  return bytes;
}

TEST(IconvConverter, ConvertsWholeInputsOrSaysWhyNot) {
  struct Case {
    const char* to;
    const char* from;
    std::string input;
    bool ok;
    std::string output;  // when ok
    IconvError error{};  // when not
  };
  const std::string longText(5000, 'a');
  const Case cases[] = {
      {"CP1251", "UTF-8", "\xD0\x9C\xD0\xB8\xD1\x80", true, "\xCC\xE8\xF0"},
      {"UTF-32LE", "UTF-8", longText, true, utf32le(longText)},  // four times the input
      {"UTF-8", "CP1251", "", true, ""},
      // A stateful page ends its text by going back to ASCII.
      {"ISO-2022-JP", "UTF-8", "\xE6\x97\xA5", true, "\x1B$BF|\x1B(B"},
      {"CP1251", "UTF-8", "ab\xFF", false, "", IconvError::InvalidSequence},
      {"CP1251", "UTF-8", "\xE4\xB8\xAD", false, "",
       IconvError::InvalidSequence},  // no such letter
      {"CP1251", "UTF-8", "ab\xD0", false, "", IconvError::IncompleteInput},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " to " + c.to + ": " + c.input.substr(0, 8));
    Result<IconvConverter, IconvError> converter = IconvConverter::open(c.to, c.from);
    ASSERT_TRUE(converter.ok());
    const Result<std::string, IconvError> out = converter.value().convert(c.input);
    ASSERT_EQ(out.ok(), c.ok);
    if (c.ok) {
      EXPECT_EQ(out.value(), c.output);
    } else {
      EXPECT_EQ(out.error(), c.error);
    }
    // Each conversion starts from the initial state, whatever came before.
    const Result<std::string, IconvError> again = converter.value().convert("A");
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value(), IconvConverter::open(c.to, c.from).value().convert("A").value());
  }
}

TEST(IconvConverter, UnknownNamesAreRefusedAndMovedConvertersStillWork) {
  const auto unknown = IconvConverter::open("CP1251", "NO-SUCH-PAGE");
  ASSERT_FALSE(unknown.ok());
  EXPECT_EQ(unknown.error(), IconvError::UnknownConversion);

  Result<IconvConverter, IconvError> opened = IconvConverter::open("UTF-16LE", "CP866");
  ASSERT_TRUE(opened.ok());
  IconvConverter moved = std::move(opened).value();
  IconvConverter target = IconvConverter::open("CP1251", "UTF-8").value();
  target = std::move(moved);
  const auto out = target.convert("\x8C");
  ASSERT_TRUE(out.ok());
  EXPECT_EQ(out.value(), std::string("\x1C\x04", 2));  // U+041C
}

}  // namespace
}  // namespace tagwright
