#pragma once

#include <string>
#include <string_view>

#include "core/text/utf8.h"

namespace tagwright::win32 {

// UTF-8 text as the system's wide strings take it (a byte that is not
// UTF-8 becomes U+FFFD): wchar_t is UTF-16 on Windows.
inline std::wstring utf8ToWide(std::string_view text) {
  const std::u16string utf16 = utf8ToUtf16(text);
  return std::wstring(utf16.begin(), utf16.end());
}

}  // namespace tagwright::win32
