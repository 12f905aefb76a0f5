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

// Interleaved 2 of 5's check digit: the same modulo-10 sum, weight 3 on the
// rightmost digit.
inline char interleavedCheckDigit(std::string_view digits) { return gs1CheckDigit(digits); }

bool allDigits(std::string_view text);

}  // namespace tagwright::preview
