#include "status/answer_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tagwright::cli {
namespace {

// Answers come in pieces that split lines, and their ends, anywhere.
TEST(AnswerLinesTest, PiecesAreCutIntoLinesWhateverTheirEnds) {
  struct Case {
    std::vector<std::string> pieces;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{"001,0\r\n"}, {"001,0"}},
      {{"00", "1,0\r", "\n002\r\n"}, {"001,0", "002"}},
      {{"a\rb\nc\r\n\r\nd"}, {"a", "b", "c"}},  // "d" has no end yet
      {{"no end"}, {}},
  };
  for (const Case& c : cases) {
    AnswerLines answers;
    std::vector<std::string> lines;
    for (const std::string& piece : c.pieces) {
      answers.append(piece.data(), piece.size());
      while (std::optional<std::string> line = answers.take()) lines.push_back(*line);
    }
    EXPECT_EQ(lines, c.lines) << c.pieces.front();
  }
}

// readLine over a scripted channel: each arrival is what one wait brings,
// bytes, silence ("") or a failure ("!" and the reason); a line already
// whole comes before the failure that follows it.
TEST(AnswerLinesTest, ReadLineGivesALineSilenceOrTheChannelsFailure) {
  struct Case {
    const char* name;
    std::vector<std::string> arrivals;
    std::vector<std::string> reads;  // each read: the line, "(silence)" or "failed: ..."
  };
  const Case cases[] = {
      {"pieces make one line", {"00", "1,0\r", "\n"}, {"001,0"}},
      {"silence before a whole line", {"00", ""}, {"(silence)"}},
      {"a failure after a whole line",
       {"001,0\r\n002", "!the printer closed the connection"},
       {"001,0", "failed: the printer closed the connection"}},
      {"the rest of a line, then silence", {"a\rb", ""}, {"a", "(silence)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AnswerLines answers;
    std::size_t next = 0;
    const AnswerLines::ReadSome readSome =
        [&](std::chrono::milliseconds) -> Result<AnswerLines::Wait> {
      if (next == c.arrivals.size()) return AnswerLines::Wait::Silent;
      const std::string& arrival = c.arrivals[next++];
      if (arrival.empty()) return AnswerLines::Wait::Silent;
      if (arrival.front() == '!') return Result<AnswerLines::Wait>::failure(arrival.substr(1));
      answers.append(arrival.data(), arrival.size());
      return AnswerLines::Wait::ReadOn;
    };
    std::vector<std::string> reads;
    for (std::size_t i = 0; i < c.reads.size(); ++i) {
      const Result<std::optional<std::string>> read =
          answers.readLine(std::chrono::milliseconds(1000), readSome);
      if (!read) {
        reads.push_back("failed: " + read.error());
      } else {
        reads.push_back(read.value().value_or("(silence)"));
      }
    }
    EXPECT_EQ(reads, c.reads);
  }
}

}  // namespace
}  // namespace tagwright::cli
