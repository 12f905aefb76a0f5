#pragma once

#include <string>
#include <string_view>

namespace tagwright::preview {

// The GS1 modulo-10 check digit of a string of digits (EAN-8, EAN-13, UPC-A,
// DUN-14, SSCC): weights 3 and 1 alternating from the rightmost digit.
char gs1CheckDigit(std::string_view digits);

// The UPC-A number a UPC-E symbol stands for: `numberSystem` ('0' or '1')
// and the six UPC-E digits give eleven digits, without check digit. The
// UPC-E check digit is the check digit of that number.
std::string upcEToUpcA(char numberSystem, std::string_view sixDigits);

bool allDigits(std::string_view text);

}  // namespace tagwright::preview
