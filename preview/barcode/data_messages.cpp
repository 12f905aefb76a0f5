#include "preview/barcode/data_messages.h"

namespace tagwright::preview {

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string digitsProblem(std::string_view name, std::string_view takes, std::string_view data) {
  std::string message = std::string(name) + " takes " + std::string(takes) + "; ";
  if (data.empty()) return message + "the data is empty";
  for (char c : data) {
    if (isAsciiLetter(c)) return message + quoted(data) + " has letters";
  }
  for (char c : data) {
    if (c < '0' || c > '9') {
      return message + quoted(data) + " has '" + std::string(1, c) + "', which is not a digit";
    }
  }
  return message + quoted(data) + " has " + std::to_string(data.size());
}

std::string wrongCheckDigit(std::string_view name, std::string_view digitsWithCheck,
                            char expected) {
  return std::string(name) + " check digit is wrong: " + quoted(digitsWithCheck) + " ends in " +
         digitsWithCheck.back() + ", and the check digit of " +
         std::string(digitsWithCheck.substr(0, digitsWithCheck.size() - 1)) + " is " + expected;
}

std::string firstBeyondLatin1(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (lead >= 0xF0) {
      length = 4;
    } else if (lead >= 0xE0) {
      length = 3;
    } else if (lead >= 0xC0) {
      length = 2;
    } else if (lead >= 0x80) {
      return "invalid UTF-8";
    }
    if (i + length > text.size()) return "invalid UTF-8";
    // Two-byte sequences from C4 on are above U+00FF; C2 and C3 are Latin-1.
    if (length > 2 || lead > 0xC3) return std::string(text.substr(i, length));
    i += length;
  }
  return {};
}

std::string utf8CharacterAt(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return std::string(text.substr(i, length));
}

}  // namespace tagwright::preview
