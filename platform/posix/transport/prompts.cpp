#include "platform/posix/transport/prompts.h"

#include "core/text/utf8.h"

namespace tagwright {
namespace {

constexpr char kQuestion[] = "(a)bort, (r)etry, (i)gnore? ";

const char* answerName(PromptAnswer answer) {
  switch (answer) {
    case PromptAnswer::Abort: return "abort";
    case PromptAnswer::Retry: return "retry";
    case PromptAnswer::Ignore: return "ignore";
    case PromptAnswer::Failed: return "no answer";
  }
  return "";
}

}  // namespace

std::string promptTextForTerminal(const CodePages& codePages, std::string_view text) {
  std::string lines = "Tagwright: ";
  const std::string utf8 = toUtf8(codePages.fromAnsi(text));
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    lines += utf8[i];
  }
  lines += '\n';
  return lines;
}

FixedPrompt::FixedPrompt(PromptAnswer answer, const CodePages& codePages, std::FILE* report)
    : answer_(answer), codePages_(codePages), report_(report) {}

PromptAnswer FixedPrompt::ask(std::string_view text) {
  if (report_ != nullptr) {
    const std::string shown = promptTextForTerminal(codePages_, text);
    std::fprintf(report_, "%s  -> %s\n", shown.c_str(), answerName(answer_));
    std::fflush(report_);
  }
  return answer_;
}

TerminalPrompt::TerminalPrompt(const CodePages& codePages, std::FILE* in, std::FILE* out,
                               PromptAnswer unanswered)
    : codePages_(codePages), in_(in), out_(out), unanswered_(unanswered) {}

PromptAnswer TerminalPrompt::ask(std::string_view text) {
  std::lock_guard<std::mutex> guard(lock_);
  const std::string shown = promptTextForTerminal(codePages_, text);
  std::fputs(shown.c_str(), out_);
  for (;;) {
    std::fputs(kQuestion, out_);
    std::fflush(out_);
    std::string line;
    int c = 0;
    while ((c = std::fgetc(in_)) != EOF && c != '\n') line += static_cast<char>(c);
    if (line.empty() && c == EOF) return unanswered_;
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos) {
      switch (line[first]) {
        case 'a':
        case 'A': return PromptAnswer::Abort;
        case 'r':
        case 'R': return PromptAnswer::Retry;
        case 'i':
        case 'I': return PromptAnswer::Ignore;
        default: break;
      }
    }
    if (c == EOF) return unanswered_;
  }
}

}  // namespace tagwright
