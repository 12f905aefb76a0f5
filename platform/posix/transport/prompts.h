#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

#include "core/text/code_pages.h"
#include "core/transport/user_prompt.h"

namespace tagwright {

// The failure text (Windows-1251, CR LF line ends) as UTF-8 lines for a
// terminal, introduced by the component's name.
std::string promptTextForTerminal(const CodePages& codePages, std::string_view text);

// Answers every question the same way, for a host program without a user.
// When given a stream, it reports the failure and the answer taken there.
class FixedPrompt final : public UserPrompt {
 public:
  FixedPrompt(PromptAnswer answer, const CodePages& codePages, std::FILE* report = nullptr);
  PromptAnswer ask(std::string_view text) override;

 private:
  const PromptAnswer answer_;
  const CodePages& codePages_;
  std::FILE* const report_;
};

// Asks on a terminal: shows the failure and reads a line from `in` until it
// starts with a, r or i (in either case). When `in` has ended or fails, the
// question cannot be put and `unanswered` is returned (by default Failed,
// which the worker takes as Retry after a pause).
class TerminalPrompt final : public UserPrompt {
 public:
  TerminalPrompt(const CodePages& codePages, std::FILE* in, std::FILE* out,
                 PromptAnswer unanswered = PromptAnswer::Failed);
  PromptAnswer ask(std::string_view text) override;

 private:
  const CodePages& codePages_;
  std::FILE* const in_;
  std::FILE* const out_;
  const PromptAnswer unanswered_;
  std::mutex lock_;  // one question at a time on the terminal
};

}  // namespace tagwright
