#include "platform/win32/named_code_pages.h"

#include <windows.h>

#include <cctype>
#include <climits>
#include <stdexcept>

namespace tagwright {
namespace {

int clampedLength(std::size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

unsigned singleBytePage(const std::string& name) {
  const unsigned page = codePageNumber(name);
  CPINFO info{};
  if (page == 0 || !IsValidCodePage(page) || !GetCPInfo(page, &info)) {
    throw std::runtime_error("unknown code page " + name +
                             "; on Windows name it by its number, such as CP1251 or CP866");
  }
  if (info.MaxCharSize != 1) {
    throw std::runtime_error("code page " + name +
                             " is not a single-byte one; the printer takes one byte a character");
  }
  return page;
}

std::u16string toWide(unsigned page, std::string_view text) {
  if (text.empty()) return {};
  const int length = clampedLength(text.size());
  const int units = MultiByteToWideChar(page, 0, text.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(page, 0, text.data(), length, reinterpret_cast<wchar_t*>(wide.data()), units);
  return wide;
}

// No best-fit mapping: a character the page lacks becomes '?', not a look-alike.
std::string toBytes(unsigned page, std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = clampedLength(text.size());
  const int bytes =
      WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, "?", nullptr);
  if (bytes <= 0) return {};
  std::string result(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide, length, result.data(), bytes, "?", nullptr);
  return result;
}

}  // namespace

unsigned codePageNumber(std::string_view name) {
  std::string upper;
  for (char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (std::string_view prefix : {"WINDOWS-", "CP", "IBM"}) {
    if (upper.rfind(prefix, 0) == 0) {
      upper.erase(0, prefix.size());
      break;
    }
  }
  if (upper.empty() || upper.size() > 5) return 0;
  unsigned page = 0;
  for (char c : upper) {
    if (c < '0' || c > '9') return 0;
    page = page * 10 + static_cast<unsigned>(c - '0');
  }
  return page;
}

Win32NamedCodePages::Win32NamedCodePages(const std::string& ansi, const std::string& oem)
    : ansi_(singleBytePage(ansi)), oem_(singleBytePage(oem)) {}

std::string Win32NamedCodePages::toAnsi(std::u16string_view text) const {
  return toBytes(ansi_, text);
}

std::u16string Win32NamedCodePages::fromAnsi(std::string_view text) const {
  return toWide(ansi_, text);
}

std::string Win32NamedCodePages::ansiToOem(std::string_view text) const {
  return toBytes(oem_, toWide(ansi_, text));
}

}  // namespace tagwright
