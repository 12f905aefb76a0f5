#include "preview/barcode/check_digits.h"

#include <gtest/gtest.h>

#include <string>

namespace tagwright::preview {
namespace {

TEST(Gs1CheckDigit, MatchesPublishedNumbers) {
  const std::string numbers[] = {
      "4006381333931",       // EAN-13
      "96385074",            // EAN-8
      "036000291452",        // UPC-A
      "12345678901231",      // GTIN-14
      "106141411234567897",  // SSCC
  };
  for (const std::string& number : numbers) {
    EXPECT_EQ(gs1CheckDigit(std::string_view(number).substr(0, number.size() - 1)), number.back())
        << number;
  }
}

TEST(UpcEExpansion, FollowsTheLastDigitRule) {
  EXPECT_EQ(upcEToUpcA('0', "123450"), "01200000345");
  EXPECT_EQ(upcEToUpcA('0', "123451"), "01210000345");
  EXPECT_EQ(upcEToUpcA('1', "123452"), "11220000345");
  EXPECT_EQ(upcEToUpcA('0', "123453"), "01230000045");
  EXPECT_EQ(upcEToUpcA('0', "123454"), "01234000005");
  EXPECT_EQ(upcEToUpcA('0', "123455"), "01234500005");
  EXPECT_EQ(upcEToUpcA('0', "123459"), "01234500009");
}

TEST(AllDigits, AcceptsOnlyAsciiDigits) {
  EXPECT_TRUE(allDigits("0123456789"));
  EXPECT_TRUE(allDigits(""));
  EXPECT_FALSE(allDigits("12a"));
  EXPECT_FALSE(allDigits("12 "));
  EXPECT_FALSE(allDigits("\xD9\xA1"));  // Arabic-Indic digit one
}

}  // namespace
}  // namespace tagwright::preview
