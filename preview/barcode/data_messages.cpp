#include "preview/barcode/data_messages.h"

#include "core/text/utf8.h"

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
    const std::optional<Utf8Sequence> sequence = utf8SequenceAt(text, i);
    if (!sequence) return "invalid UTF-8";
    if (sequence->value > 0xFF) return std::string(text.substr(i, sequence->length));
    i += sequence->length;
  }
  return {};
}

std::string utf8CharacterAt(std::string_view text, std::size_t i) {
  const std::optional<Utf8Sequence> sequence = utf8SequenceAt(text, i);
  return std::string(text.substr(i, sequence ? sequence->length : 1));
}

}  // namespace tagwright::preview
