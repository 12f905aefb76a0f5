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

}  // namespace
}  // namespace tagwright::cli
