#pragma once

#include <array>
#include <string>

#include "core/util/result.h"

namespace tagwright::preview {

// What each byte of a single-byte code page is: the character, or
// kNoCharacter for a byte that is none.
inline constexpr char32_t kNoCharacter = U'?';
using CodePageTable = std::array<char32_t, 256>;

// The table of the code page `name` (iconv's names: "CP1251", "CP866",
// "ISO-8859-5", "KOI8-R", ...), asked of the system's own conversion once:
// iconv on Linux, MultiByteToWideChar on Windows. Both give the same
// characters for the pages they share. Fails with the message when the
// system does not know the page or it is not single-byte.
Result<CodePageTable> readCodePageTable(const std::string& name);

}  // namespace tagwright::preview
