#include "platform/posix/iconv_converter.h"
#include "preview/text/code_page_table.h"

namespace tagwright::preview {
namespace {

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

Result<CodePageTable> readCodePageTable(const std::string& name) {
  Result<IconvConverter, IconvError> conversion = IconvConverter::open("UTF-32LE", name);
  if (!conversion) {
    return Result<CodePageTable>::failure("the code page " + name +
                                          " is not known to iconv (iconv --list shows the names)");
  }
  CodePageTable table{};
  for (int byte = 0; byte < 256; ++byte) {
    const Result<std::u32string, IconvError> decoded =
        decodeByte(conversion.value(), static_cast<unsigned char>(byte));
    if (!decoded && decoded.error() == IconvError::IncompleteInput) {
      return Result<CodePageTable>::failure("the code page " + name +
                                            " is not a single-byte code page");
    }
    // A byte that is no character, or several, shows as '?'.
    table[static_cast<std::size_t>(byte)] =
        decoded && decoded.value().size() == 1 ? decoded.value()[0] : kNoCharacter;
  }
  return table;
}

}  // namespace tagwright::preview
