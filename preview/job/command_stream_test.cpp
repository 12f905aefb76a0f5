#include "preview/job/command_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "preview/job/fields.h"

namespace tagwright::preview {
namespace {

using namespace std::string_literals;

TEST(CommandStream, SplitsAtCarriageReturnsWithByteOffsets) {
  const std::string job = "^W40\r^L\rAA,1,2,1,1,0,0,x\rE\r";
  const CommandStream stream = splitCommands(job);
  ASSERT_EQ(stream.commands.size(), 4u);
  EXPECT_EQ(stream.commands[0].line, "^W40");
  EXPECT_EQ(stream.commands[0].offset, 0u);
  EXPECT_EQ(stream.commands[1].offset, 5u);
  EXPECT_EQ(stream.commands[2].line, "AA,1,2,1,1,0,0,x");
  EXPECT_EQ(stream.commands[2].offset, 8u);
  EXPECT_EQ(stream.commands[3].offset, 25u);
  EXPECT_TRUE(stream.notes.empty());
}

TEST(CommandStream, LineFeedsAreSkippedWithOneNoteAtTheFirst) {
  const CommandStream stream = splitCommands("^W40\r\n^L\nE\r\n");
  ASSERT_EQ(stream.commands.size(), 3u);
  EXPECT_EQ(stream.commands[1].line, "^L");
  EXPECT_EQ(stream.commands[2].line, "E");
  EXPECT_EQ(stream.commands[2].offset, 9u);
  ASSERT_EQ(stream.notes.size(), 1u);
  EXPECT_EQ(stream.notes[0].offset, 5u);
  EXPECT_NE(stream.notes[0].text.find("2 other places"), std::string::npos);
}

TEST(CommandStream, InlineImageDataIsTakenWholeEvenWithCarriageReturnsInIt) {
  const std::string job =
      "^L\rQ0,0,2,2\r\r\r\xFF\x81"
      "E\r"s;
  const CommandStream stream = splitCommands(job);
  ASSERT_EQ(stream.commands.size(), 3u);
  EXPECT_EQ(stream.commands[1].data, "\r\r\xFF\x81"s);
  EXPECT_EQ(stream.commands[2].line, "E");
  EXPECT_EQ(stream.commands[2].offset, 16u);
}

TEST(CommandStream, InlineImageOutsideALabelIsNotAnImage) {
  const CommandStream stream = splitCommands("Q0,0,1,1\rX\r");
  ASSERT_EQ(stream.commands.size(), 2u);
  EXPECT_TRUE(stream.commands[0].data.empty());
}

TEST(CommandStream, ShortInlineImageDataAndAMissingFinalCrAreNoted) {
  const CommandStream truncated = splitCommands("^L\rQ1,1,10,10\rabc");
  ASSERT_EQ(truncated.commands.size(), 2u);
  EXPECT_EQ(truncated.commands[1].data, "abc");
  ASSERT_EQ(truncated.notes.size(), 1u);
  EXPECT_EQ(truncated.notes[0].offset, 3u);
  EXPECT_NE(truncated.notes[0].text.find("100 data bytes"), std::string::npos);

  const CommandStream unterminated = splitCommands("^L\rE");
  ASSERT_EQ(unterminated.commands.size(), 2u);
  ASSERT_EQ(unterminated.notes.size(), 1u);
  EXPECT_EQ(unterminated.notes[0].offset, 3u);
}

TEST(Fields, LastFieldKeepsItsCommas) {
  const auto fields = splitFields("A,1,2,hello, world", 4);
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_EQ(fields[3], "hello, world");
  EXPECT_EQ(splitFields("1,2", 4).size(), 2u);
}

TEST(Fields, NumbersAreWholeOrRefused) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  for (const Case& c :
       {Case{"12", 12}, Case{"+8", 8}, Case{"-8", -8}, Case{" 7 ", 7}, Case{"", std::nullopt},
        Case{"1.5", std::nullopt}, Case{"9999999999", std::nullopt}, Case{"x", std::nullopt}}) {
    EXPECT_EQ(parseInteger(c.text), c.value) << c.text;
  }
  EXPECT_DOUBLE_EQ(*parseMillimetres("25.5"), 25.5);
  EXPECT_FALSE(parseMillimetres("-3"));
  EXPECT_FALSE(parseMillimetres("."));
}

}  // namespace
}  // namespace tagwright::preview
