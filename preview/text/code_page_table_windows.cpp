#include <windows.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>

#include "preview/text/code_page_table.h"

namespace tagwright::preview {
namespace {

constexpr unsigned kFirstCodePage = 37;
constexpr unsigned kUtf8 = 65001;
constexpr unsigned kUsAscii = 20127;
constexpr unsigned kIso8859Base = 28590;  // ISO-8859-N is 28590 + N
constexpr unsigned kKoi8R = 20866;
constexpr unsigned kKoi8U = 21866;

std::string upper(std::string_view name) {
  std::string result(name);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return result;
}

std::optional<unsigned> numberAfter(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix) || name.size() == prefix.size()) return std::nullopt;
  unsigned number = 0;
  const char* end = name.data() + name.size();
  const auto [rest, problem] = std::from_chars(name.data() + prefix.size(), end, number);
  if (problem != std::errc() || rest != end) return std::nullopt;
  return number;
}

// The Windows code page of one of iconv's names, as the preview's options
// take them ("CP1251", "WINDOWS-1251", "IBM866", "ISO-8859-5", "KOI8-R").
std::optional<unsigned> windowsCodePage(const std::string& name) {
  const std::string wanted = upper(name);
  // Numbers below 37, the first real page, are Windows' names for whichever
  // pages are current (CP_ACP, CP_OEMCP, ...), which iconv does not know.
  for (const std::string_view prefix : {"CP", "WINDOWS-", "IBM"}) {
    if (const std::optional<unsigned> number = numberAfter(wanted, prefix)) {
      return *number >= kFirstCodePage ? number : std::nullopt;
    }
  }
  for (const std::string_view prefix : {"ISO-8859-", "ISO8859-", "ISO_8859-"}) {
    if (const std::optional<unsigned> part = numberAfter(wanted, prefix)) {
      return *part >= 1 && *part <= 16 ? std::optional<unsigned>(kIso8859Base + *part)
                                       : std::nullopt;
    }
  }
  if (wanted == "LATIN1") return kIso8859Base + 1;
  if (wanted == "KOI8-R") return kKoi8R;
  if (wanted == "KOI8-U") return kKoi8U;
  if (wanted == "ASCII" || wanted == "US-ASCII") return kUsAscii;
  if (wanted == "UTF-8" || wanted == "UTF8") return kUtf8;
  return std::nullopt;
}

bool isIso8859(unsigned page) { return page > kIso8859Base && page <= kIso8859Base + 16; }

// The character of one byte, or kNoCharacter. Windows gives every byte of
// its own single-byte pages a character: their holes (0x98 of Windows-1251)
// come out as the C1 control of the same number. iconv calls those bytes
// no character, and so does the preview; in the ISO 8859 pages the C1
// controls are the bytes' real characters, as in iconv.
char32_t decodeByte(unsigned page, unsigned char byte) {
  const char in = static_cast<char>(byte);
  wchar_t out[2] = {};
  const int units = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, &in, 1, out, 2);
  if (units != 1) return kNoCharacter;
  const auto character = static_cast<char32_t>(out[0]);
  const bool c1Control = byte >= 0x80 && byte <= 0x9F && character == byte;
  if (c1Control && !isIso8859(page)) return kNoCharacter;
  return character;
}

}  // namespace

Result<CodePageTable> readCodePageTable(const std::string& name) {
  const std::optional<unsigned> page = windowsCodePage(name);
  CPINFOEXW info{};
  if (!page || GetCPInfoExW(*page, 0, &info) == 0) {
    return Result<CodePageTable>::failure("the code page " + name +
                                          " is not known to Windows (names as CP1251, "
                                          "IBM866, ISO-8859-5 or KOI8-R are)");
  }
  if (info.MaxCharSize != 1) {
    return Result<CodePageTable>::failure("the code page " + name +
                                          " is not a single-byte code page");
  }
  CodePageTable table{};
  for (std::size_t byte = 0; byte < table.size(); ++byte) {
    table[byte] = decodeByte(*page, static_cast<unsigned char>(byte));
  }
  return table;
}

}  // namespace tagwright::preview
