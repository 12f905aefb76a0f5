#include "platform/win32/win32_code_pages.h"

#include <windows.h>

#include <climits>

namespace tagwright {
namespace {

int clampedLength(std::size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

}  // namespace

std::string Win32CodePages::toAnsi(std::u16string_view text) const {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = clampedLength(text.size());
  // The default character of the code page stands in for unmapped characters.
  int bytes = WideCharToMultiByte(CP_THREAD_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string result(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_THREAD_ACP, 0, wide, length, result.data(), bytes, nullptr, nullptr);
  return result;
}

std::u16string Win32CodePages::fromAnsi(std::string_view text) const {
  if (text.empty()) return {};
  const int length = clampedLength(text.size());
  int units = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::u16string result(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length,
                      reinterpret_cast<wchar_t*>(result.data()), units);
  return result;
}

std::string Win32CodePages::ansiToOem(std::string_view text) const {
  std::string result(text);
  if (!result.empty()) {
    CharToOemBuffA(result.data(), result.data(), static_cast<DWORD>(clampedLength(result.size())));
  }
  return result;
}

}  // namespace tagwright
