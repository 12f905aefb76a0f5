#pragma once

#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string>
#include <string_view>

#include "platform/win32/unique_resource.h"

namespace tagwright::com {

using unique_bstr = win32::unique_resource<BSTR, &::SysFreeString>;

// A new BSTR holding `text` (which may contain zero characters); throws
// std::bad_alloc when the system cannot allocate it.
inline unique_bstr makeBstr(std::u16string_view text) {
  static_assert(sizeof(char16_t) == sizeof(OLECHAR));
  if (text.size() > 0x7FFFFFFEu) throw std::bad_alloc();
  BSTR raw = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                 static_cast<UINT>(text.size()));
  if (raw == nullptr) throw std::bad_alloc();
  return unique_bstr(raw);
}

// The text of a BSTR the caller does not own; a null BSTR reads as empty.
inline std::u16string_view bstrText(BSTR text) noexcept {
  if (text == nullptr) return {};
  return {reinterpret_cast<const char16_t*>(text), ::SysStringLen(text)};
}

}  // namespace tagwright::com
