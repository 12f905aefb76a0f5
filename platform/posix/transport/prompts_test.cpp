#include "platform/posix/transport/prompts.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include "core/transport/port_texts.h"
#include "core/util/c_file.h"
#include "platform/posix/iconv_code_pages.h"
#include "support/memory_stream.h"

namespace tagwright {
namespace {

// An input stream over a text and an output stream into memory.
class Streams {
 public:
  explicit Streams(const std::string& input)
      : input_(input),
        reader_(input_.empty() ? ::fopen("/dev/null", "r")
                               : ::fmemopen(input_.data(), input_.size(), "r")) {}
  std::string written() { return writer_.text(); }

 private:
  std::string input_;
  unique_c_file reader_;
  testing::MemoryStream writer_;

 public:
  std::FILE* const in = reader_.get();
  std::FILE* const out = writer_.get();
};

const IconvCodePages kCodePages;

TEST(PromptText, ShowsTheWindows1251TextAsUtf8Lines) {
  EXPECT_EQ(promptTextForTerminal(kCodePages, portOpenFailedText(2)),
            "Tagwright: Не возможно открыть порт.\nКод ошибки: 2\n");
}

TEST(TerminalPrompt, ReadsTheAnswerFromTheFirstLetterOfALine) {
  struct Case {
    std::string input;
    PromptAnswer answer;
    int questions;
  };
  const Case cases[] = {
      {"a\n", PromptAnswer::Abort, 1},         {"R\n", PromptAnswer::Retry, 1},
      {"  ignore\n", PromptAnswer::Ignore, 1}, {"x\n\nretry\n", PromptAnswer::Retry, 3},
      {"", PromptAnswer::Failed, 1},           {"what\n", PromptAnswer::Failed, 2},
      {"i", PromptAnswer::Ignore, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    Streams streams(c.input);
    TerminalPrompt prompt(kCodePages, streams.in, streams.out);
    EXPECT_EQ(prompt.ask(kPrinterNotConnectedText), c.answer);
    const std::string shown = streams.written();
    EXPECT_EQ(shown.rfind("Tagwright: Принтер не подключен!\n", 0), 0u) << shown;
    std::size_t questions = 0;
    for (std::size_t at = shown.find("(a)bort"); at != std::string::npos;
         at = shown.find("(a)bort", at + 1)) {
      ++questions;
    }
    EXPECT_EQ(questions, static_cast<std::size_t>(c.questions));
  }
}

TEST(TerminalPrompt, ClosedInputGivesTheChosenAnswer) {
  Streams streams("");
  TerminalPrompt prompt(kCodePages, streams.in, streams.out, PromptAnswer::Abort);
  EXPECT_EQ(prompt.ask(kUsbPrinterNotFoundText), PromptAnswer::Abort);
}

TEST(FixedPrompt, AnswersAlwaysTheSameAndReportsTheFailure) {
  Streams streams("");
  FixedPrompt prompt(PromptAnswer::Ignore, kCodePages, streams.out);
  EXPECT_EQ(prompt.ask(kUsbPrinterNotFoundText), PromptAnswer::Ignore);
  EXPECT_EQ(prompt.ask(kUsbPrinterNotFoundText), PromptAnswer::Ignore);
  EXPECT_EQ(streams.written(), std::string("Tagwright: USB принтер не найден...\n  -> ignore\n"
                                           "Tagwright: USB принтер не найден...\n  -> ignore\n"));
  FixedPrompt silent(PromptAnswer::Abort, kCodePages);
  EXPECT_EQ(silent.ask("x"), PromptAnswer::Abort);
}

}  // namespace
}  // namespace tagwright
