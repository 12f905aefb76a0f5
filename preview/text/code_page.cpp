#include "preview/text/code_page.h"

#include "preview/text/code_page_table.h"

namespace tagwright::preview {

std::optional<CodePage> CodePage::open(const std::string& name, std::string& error) {
  Result<CodePageTable> table = readCodePageTable(name);
  if (!table) {
    error = table.error();
    return std::nullopt;
  }
  CodePage page;
  page.name_ = name;
  page.characters_ = table.value();
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
