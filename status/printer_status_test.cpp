#include "status/printer_status.h"

#include <gtest/gtest.h>

namespace tagwright::cli {
namespace {

TEST(PrinterStatusReplies, AreTwoDigitsAndFiveDigitCountsEndedByCrLf) {
  struct Case {
    PrinterStatus status;
    const char* check;
    const char* full;
  };
  const Case cases[] = {
      {{StatusCode::Ready, 0}, "00\r\n", "00,00000\r\n"},
      {{StatusCode::Printing, 3}, "50\r\n", "50,00003\r\n"},
      {{StatusCode::DataInProcess, 12345}, "60\r\n", "60,12345\r\n"},
      {{StatusCode::MediaEmpty, 2}, "01\r\n", "01,00002\r\n"},
      {{StatusCode::CutterJam, 0}, "10\r\n", "10,00000\r\n"},
      {{StatusCode::HeadTooHot, 7}, "62\r\n", "62,00007\r\n"},
      {{StatusCode::Printing, 123456}, "50\r\n", "50,99999\r\n"},  // five digits hold no more
      {{StatusCode::Printing, -4}, "50\r\n", "50,00000\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(checkReply(c.status.code), c.check);
    EXPECT_EQ(statusReply(c.status), c.full);
  }
}

TEST(PrinterStatusReplies, AreReadBackAsSent) {
  for (int number = 0; number < 100; ++number) {
    const std::optional<StatusCode> code = statusCodeFromNumber(number);
    if (!code) continue;
    const PrinterStatus sent{*code, number * 7};
    std::string line = statusReply(sent);
    line.resize(line.size() - 2);
    EXPECT_EQ(parseStatusAnswer(line), sent) << line;
    std::string check = checkReply(*code);
    check.resize(2);
    EXPECT_EQ(parseStatusAnswer(check), (PrinterStatus{*code, 0})) << check;
  }
}

TEST(PrinterStatusReplies, AnythingElseIsNoAnswer) {
  for (const char* line : {"", "0", "5", "99", "12,00001", "50,0001", "50,000001", "50;00001",
                           "50,0000a", "ab", "50 00001", " 50,00001", "50,00001\r"}) {
    EXPECT_FALSE(parseStatusAnswer(line)) << '"' << line << '"';
  }
}

TEST(PrinterStatusCodes, NamesWordsAndFaults) {
  EXPECT_EQ(statusCodeFromName("media-empty"), StatusCode::MediaEmpty);
  EXPECT_EQ(statusCodeFromName("head-open"), StatusCode::HeadOpen);
  EXPECT_EQ(statusCodeFromName("ribbon-empty"), StatusCode::RibbonEmpty);
  EXPECT_EQ(statusCodeFromName("paused"), StatusCode::Paused);
  EXPECT_EQ(statusCodeFromName("cutter-jam"), StatusCode::CutterJam);
  EXPECT_FALSE(statusCodeFromName("Media-Empty"));
  for (int number = 0; number < 100; ++number) {
    const std::optional<StatusCode> code = statusCodeFromNumber(number);
    if (!code) continue;
    EXPECT_EQ(statusCodeFromName(statusCodeName(*code)), code);
    const bool atWork = number == 0 || number == 50 || number == 60;
    EXPECT_EQ(isFault(*code), !atWork) << number;
  }
  for (int unknown : {12, 14, 19, 23, 49, 51, 61, 63, 99}) {
    EXPECT_FALSE(statusCodeFromNumber(unknown)) << unknown;
  }
  EXPECT_EQ(describeStatus({StatusCode::Printing, 3}), "printing, 3 labels left (50,00003)");
  EXPECT_EQ(describeStatus({StatusCode::Printing, 1}), "printing, 1 label left (50,00001)");
  EXPECT_EQ(describeStatus({StatusCode::Ready, 0}), "ready (00,00000)");
  EXPECT_EQ(describeStatus({StatusCode::MediaEmpty, 2}),
            "media empty or media jam, 2 labels left (01,00002)");
}

}  // namespace
}  // namespace tagwright::cli
