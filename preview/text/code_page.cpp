#include "preview/text/code_page.h"

#include "platform/posix/iconv_converter.h"

namespace tagwright::preview {
namespace {

constexpr char32_t kNoCharacter = U'?';

// One byte from the initial state: the characters it gives, or why none.
Result<std::u32string, IconvError> decodeByte(IconvConverter& conversion, unsigned char byte) {
  const char in = static_cast<char>(byte);
  const Result<std::string, IconvError> out = conversion.convert(std::string_view(&in, 1));
  if (!out) return Result<std::u32string, IconvError>::failure(out.error());
  const std::string& bytes = out.value();
  std::u32string characters;
  for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    auto at = [&](std::size_t k) {
      return static_cast<char32_t>(static_cast<unsigned char>(bytes[i + k]));
    };
    characters += at(0) | at(1) << 8 | at(2) << 16 | at(3) << 24;
  }
  return characters;
}

}  // namespace

std::optional<CodePage> CodePage::open(const std::string& name, std::string& error) {
  Result<IconvConverter, IconvError> conversion = IconvConverter::open("UTF-32LE", name);
  if (!conversion) {
    error = "the code page " + name + " is not known to iconv (iconv --list shows the names)";
    return std::nullopt;
  }
  CodePage page;
  page.name_ = name;
  for (int byte = 0; byte < 256; ++byte) {
    const Result<std::u32string, IconvError> decoded =
        decodeByte(conversion.value(), static_cast<unsigned char>(byte));
    if (!decoded && decoded.error() == IconvError::IncompleteInput) {
      error = "the code page " + name + " is not a single-byte code page";
      return std::nullopt;
    }
    // A byte that is no character, or several, shows as '?'.
    page.characters_[static_cast<std::size_t>(byte)] =
        decoded && decoded.value().size() == 1 ? decoded.value()[0] : kNoCharacter;
  }
  return page;
}

CodePage CodePage::latin1() {
  CodePage page;
  page.name_ = "ISO-8859-1";
  for (std::size_t byte = 0; byte < 256; ++byte) page.characters_[byte] = char32_t(byte);
  return page;
}

std::u32string CodePage::decode(std::string_view bytes) const {
  std::u32string text(bytes.size(), U'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[i] = characters_[static_cast<unsigned char>(bytes[i])];
  }
  return text;
}

}  // namespace tagwright::preview
