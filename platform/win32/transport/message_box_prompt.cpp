#include "platform/win32/transport/message_box_prompt.h"

#include <limits>

#include "core/text/utf8.h"
#include "platform/win32/wide_text.h"

namespace tagwright {
namespace {

constexpr UINT kWindows1251 = 1251;

// The failure texts are Windows-1251 whatever the system's code page is, so
// they are converted explicitly and shown through the wide-character box.
std::wstring fromWindows1251(std::string_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(kWindows1251, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kWindows1251, 0, text.data(), size, wide.data(), length);
  return wide;
}

}  // namespace

std::wstring moduleBaseName(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  return name;
}

PromptAnswer answerOfMessageBox(int result) {
  switch (result) {
    case IDABORT: return PromptAnswer::Abort;
    case IDRETRY: return PromptAnswer::Retry;
    case IDIGNORE: return PromptAnswer::Ignore;
    // A box that could not be shown: 0 on Windows, -1 under Wine without a
    // display. Any other value is no button of this box either. The worker
    // takes it as Retry, after a pause.
    default: return PromptAnswer::Failed;
  }
}

MessageBoxPrompt::MessageBoxPrompt(HMODULE module) : caption_(moduleBaseName(module)) {}

PromptAnswer MessageBoxPrompt::ask(std::string_view text) {
  const std::wstring wide = fromWindows1251(text);
  return answerOfMessageBox(MessageBoxW(nullptr, wide.c_str(), caption_.c_str(), kStyle));
}

void MessageBoxPrompt::tell(std::string_view text) {
  const std::wstring wide = win32::utf8ToWide(text);
  MessageBoxW(nullptr, wide.c_str(), caption_.c_str(), MB_OK | MB_ICONHAND);
}

}  // namespace tagwright
