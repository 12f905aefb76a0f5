#pragma once

#include <windows.h>

#include <string>

#include "core/transport/user_prompt.h"

namespace tagwright {

// Asks with a message box: the failure text, the buttons Abort, Retry and
// Ignore, the stop icon and Retry as the default button
// (MB_ABORTRETRYIGNORE | MB_ICONHAND | MB_DEFBUTTON2). The caption is the
// module file's name without its extension. The box has no owner window, so
// it is modal for the worker's thread only. A box that cannot be shown
// answers Failed.
class MessageBoxPrompt final : public UserPrompt {
 public:
  static constexpr UINT kStyle = MB_ABORTRETRYIGNORE | MB_ICONHAND | MB_DEFBUTTON2;

  explicit MessageBoxPrompt(HMODULE module);
  PromptAnswer ask(std::string_view text) override;
  // Tells the user of a failure that needs no answer (text in UTF-8), with
  // the stop icon and an OK button.
  void tell(std::string_view text);

  const std::wstring& caption() const { return caption_; }

 private:
  std::wstring caption_;
};

// The name of a module's file without directory and extension.
std::wstring moduleBaseName(HMODULE module);

// The answer that a message box result stands for.
PromptAnswer answerOfMessageBox(int result);

}  // namespace tagwright
