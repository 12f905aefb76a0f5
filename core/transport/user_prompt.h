#pragma once

#include <string_view>

namespace tagwright {

// The user's answer to a port that cannot be opened. Failed means that the
// question could not be put at all (no desktop, no terminal).
enum class PromptAnswer { Abort, Retry, Ignore, Failed };

// Asks the user what to do about a port failure. `text` is the failure text
// in Windows-1251. Called on the worker's thread; may block until answered.
class UserPrompt {
 public:
  virtual ~UserPrompt() = default;
  virtual PromptAnswer ask(std::string_view text) = 0;
};

}  // namespace tagwright
