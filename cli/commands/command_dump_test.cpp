#include "cli/commands/command_dump.h"

#include <gtest/gtest.h>

#include "platform/posix/iconv_code_pages.h"

namespace tagwright::cli {
namespace {

TEST(CommandDump, OneCommandALineWithControlBytesMadeVisible) {
  const std::string stream("^Q25,3\r^C1\r\r^L\rAB\0C\x1B\x7F\t\n\x01\rE", 26);
  EXPECT_EQ(dumpCommandStream(stream, DumpDecoders{}),
            "^Q25,3\n^C1\n\n^L\nAB<NUL>C<ESC><DEL><TAB><LF><0x01>\nE<no CR>\n");
  EXPECT_EQ(dumpCommandStream("", DumpDecoders{}), "");
}

TEST(CommandDump, DecodesEachLineInTheCodePageItsElementWroteItIn) {
  IconvCodePages ansi("CP1251", "CP866");
  IconvCodePages oem("CP866", "CP866");
  // "Цена" in CP866 (PutText, PutImage) and in CP1251 (the rest).
  const std::string cp866 = "\x96\xA5\xAD\xA0";
  const std::string cp1251 = "\xD6\xE5\xED\xE0";
  const std::string stream = "AA,0,0,1,1,1,0," + cp866 + "\rY0,0," + cp866 + "\rVA,0,0,1,1,0,0," +
                             cp1251 + "\rBE,0,0,2,4,24,0,1," + cp1251 + "\r" +
                             std::string(1, '\0') + "A," + cp866 + "\r";
  EXPECT_EQ(dumpCommandStream(stream, DumpDecoders{&ansi, &oem}),
            "AA,0,0,1,1,1,0,Цена\nY0,0,Цена\nVA,0,0,1,1,0,0,Цена\nBE,0,0,2,4,24,0,1,Цена\n"
            "<NUL>A,Цена\n");
  EXPECT_EQ(dumpCommandStream("VA," + cp1251 + "\r", DumpDecoders{}), "VA,\\xD6\\xE5\\xED\\xE0\n");
}

}  // namespace
}  // namespace tagwright::cli
