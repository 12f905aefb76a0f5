#include "preview/barcode/check_digits.h"

#include <algorithm>

namespace tagwright::preview {

char gs1CheckDigit(std::string_view digits) {
  int sum = 0;
  bool weightThree = true;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    sum += (*it - '0') * (weightThree ? 3 : 1);
    weightThree = !weightThree;
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string upcEToUpcA(char numberSystem, std::string_view d) {
  std::string a(1, numberSystem);
  switch (d[5]) {
    case '0':
    case '1':
    case '2':
      a += d.substr(0, 2);
      a += d[5];
      a += "0000";
      a += d.substr(2, 3);
      break;
    case '3':
      a += d.substr(0, 3);
      a += "00000";
      a += d.substr(3, 2);
      break;
    case '4':
      a += d.substr(0, 4);
      a += "00000";
      a += d[4];
      break;
    default:
      a += d.substr(0, 5);
      a += "0000";
      a += d[5];
      break;
  }
  return a;
}

bool allDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace tagwright::preview
