#include "core/label/command_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tagwright {
namespace {

TEST(CommandLine, AppendsShortAndLongLinesWhole) {
  for (std::size_t length : {0u, 1u, 254u, 255u, 256u, 257u, 1000u}) {
    SCOPED_TRACE(length);
    const std::string text(length, 'x');
    std::string buffer = "head";
    appendLine(buffer, "A10,%s%c", text.c_str(), kCommandEnd);
    EXPECT_EQ(buffer, "headA10," + text + "\r");
    EXPECT_EQ(formatLine("%s%c", text.c_str(), kCommandEnd), text + "\r");
  }
}

TEST(CommandLine, ALineEndsAtItsFirstZeroByte) {
  std::string buffer = "x";
  appendLine(buffer, "ab%ccd%c", 0, kCommandEnd);
  EXPECT_EQ(buffer, "xab");
  const std::string longText(300, 'y');
  appendLine(buffer, "%s%c%s", longText.c_str(), 0, "tail");
  EXPECT_EQ(buffer, "xab" + longText);
}

// The lines that command lines are made of format as printf formats them,
// and so does any other conversion.
TEST(CommandLine, FormatsAsPrintfDoes) {
  char expected[128];
  std::snprintf(expected, sizeof expected, "B%c,%d,%d,%lld-%s%%%c", 'E', -2147483647 - 1, 0,
                -9000000000LL, "text", kCommandEnd);
  EXPECT_EQ(formatLine("B%c,%d,%d,%lld-%s%%%c", 'E', -2147483647 - 1, 0, -9000000000LL, "text",
                       kCommandEnd),
            expected);
  EXPECT_EQ(formatLine("^Q%d,%03d,%x%c", 5, 7, 255, kCommandEnd), "^Q5,007,ff\r");
  std::string buffer = "keep";
  appendLine(buffer, "%d %5s%c", 1, "ab", kCommandEnd);
  EXPECT_EQ(buffer, "keep1    ab\r");
}

}  // namespace
}  // namespace tagwright
