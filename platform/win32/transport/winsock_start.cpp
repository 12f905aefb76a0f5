#include "platform/win32/transport/winsock_start.h"

#include <string>

#include "core/text/utf8.h"

namespace tagwright::win32 {

Result<unique_winsock> startWinsock() {
  WSADATA data{};
  const int failure = ::WSAStartup(MAKEWORD(2, 2), &data);
  if (failure != 0) {
    return Result<unique_winsock>::failure(
        "the network cannot be used: Winsock 2.2 did not start (" + systemErrorText(failure) + ")");
  }
  return unique_winsock(true);
}

std::string systemErrorText(int code) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const unique_resource<HLOCAL, &::LocalFree> owner(buffer);
  std::string text;
  if (length > 0) {
    std::u16string wide(reinterpret_cast<const char16_t*>(buffer), length);
    while (!wide.empty() && (wide.back() == u'\n' || wide.back() == u'\r' || wide.back() == u'.' ||
                             wide.back() == u' ')) {
      wide.pop_back();
    }
    text = toUtf8(std::u16string_view(wide));
  }
  if (text.empty()) text = "system error";
  return text + " (" + std::to_string(code) + ")";
}

}  // namespace tagwright::win32
