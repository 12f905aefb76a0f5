#include "core/label/argument_reader.h"

namespace tagwright {

std::int32_t ArgumentReader::number() { return argumentAsNumber(next()); }

std::string ArgumentReader::text() { return toCommandText(argumentAsText(next())); }

std::string ArgumentReader::upperCaseText() {
  std::u16string text = argumentAsText(next());
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    else if (c >= u'\u0430' && c <= u'\u044F') c = static_cast<char16_t>(c - 0x20);
    else if (c >= u'\u0450' && c <= u'\u045F') c = static_cast<char16_t>(c - 0x50);
  }
  return toCommandText(text);
}

std::string ArgumentReader::toCommandText(const std::u16string& text) const {
  std::string bytes = codePages_.toAnsi(text);
  std::size_t zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
  for (char& c : bytes) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return bytes;
}

void trimTrailingBlanks(std::string& text) {
  while (text.size() > 1 && text.back() == ' ') text.pop_back();
}

void cutWhenLong(std::string& text, std::size_t cutFrom, std::size_t keep) {
  if (text.size() >= cutFrom) text.resize(keep);
}

}  // namespace tagwright
