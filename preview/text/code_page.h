#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tagwright::preview {

// Decodes the printer text of one single-byte code page to Unicode. The
// table is asked of the system's conversion once, when the page is opened
// (code_page_table.h); decoding is then a look-up per byte. Bytes without
// a character decode as '?'.
class CodePage {
 public:
  // Nothing when the system does not know the page or it is not single-byte;
  // `error` says why.
  static std::optional<CodePage> open(const std::string& name, std::string& error);

  // A page that maps each byte to the character of the same number
  // (Latin-1), for when the named page cannot be opened.
  static CodePage latin1();

  std::u32string decode(std::string_view bytes) const;
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  std::array<char32_t, 256> characters_{};
};

}  // namespace tagwright::preview
