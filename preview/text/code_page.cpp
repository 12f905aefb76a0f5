#include "preview/text/code_page.h"

#include <iconv.h>

#include <cerrno>

namespace tagwright::preview {
namespace {

constexpr char32_t kNoCharacter = U'?';

// An iconv conversion descriptor, closed when it goes out of scope.
class Conversion {
 public:
  explicit Conversion(const std::string& from) : cd_(iconv_open("UTF-32LE", from.c_str())) {}
  ~Conversion() {
    if (valid()) iconv_close(cd_);
  }
  Conversion(const Conversion&) = delete;
  Conversion& operator=(const Conversion&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // One byte from the initial state: the number of characters it gives (0
  // when refused or incomplete, with errno set), and the first of them.
  int decodeByte(unsigned char byte, char32_t& character) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char in = static_cast<char>(byte);
    unsigned char out[16];
    char* input = &in;
    char* output = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    if (iconv(cd_, &input, &inLeft, &output, &outLeft) == static_cast<std::size_t>(-1)) return 0;
    if (iconv(cd_, nullptr, nullptr, &output, &outLeft) == static_cast<std::size_t>(-1)) return 0;
    const std::size_t written = sizeof out - outLeft;
    if (written < 4) return 0;
    character = static_cast<char32_t>(out[0]) | static_cast<char32_t>(out[1]) << 8 |
                static_cast<char32_t>(out[2]) << 16 | static_cast<char32_t>(out[3]) << 24;
    return static_cast<int>(written / 4);
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<CodePage> CodePage::open(const std::string& name, std::string& error) {
  Conversion conversion(name);
  if (!conversion.valid()) {
    error = "the code page " + name + " is not known to iconv (iconv --list shows the names)";
    return std::nullopt;
  }
  CodePage page;
  page.name_ = name;
  for (int byte = 0; byte < 256; ++byte) {
    char32_t character = kNoCharacter;
    errno = 0;
    const int count = conversion.decodeByte(static_cast<unsigned char>(byte), character);
    if (count == 0 && errno == EINVAL) {
      error = "the code page " + name + " is not a single-byte code page";
      return std::nullopt;
    }
    page.characters_[static_cast<std::size_t>(byte)] = count == 1 ? character : kNoCharacter;
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

std::string toUtf8(std::u32string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (const char32_t c : text) {
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if (c < 0x800) {
      bytes += static_cast<char>(0xC0 | c >> 6);
      bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      bytes += static_cast<char>(0xE0 | c >> 12);
      bytes += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | c >> 18);
      bytes += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      bytes += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      bytes += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return bytes;
}

std::u32string fromUtf8(std::string_view text) {
  std::u32string characters;
  characters.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80         ? 1
                       : lead >> 5 == 0x6  ? 2
                       : lead >> 4 == 0xE  ? 3
                       : lead >> 3 == 0x1E ? 4
                                           : 0;
    bool wellFormed = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
    char32_t c = length == 1   ? lead
                 : length == 2 ? lead & 0x1Fu
                 : length == 3 ? lead & 0x0Fu
                               : lead & 0x07u;
    for (int k = 1; wellFormed && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      wellFormed = (next & 0xC0) == 0x80;
      c = c << 6 | (next & 0x3Fu);
    }
    if (!wellFormed) {
      characters += U'\uFFFD';
      ++i;
      continue;
    }
    characters += c;
    i += static_cast<std::size_t>(length);
  }
  return characters;
}

}  // namespace tagwright::preview
