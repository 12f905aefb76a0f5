#pragma once

#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace tagwright::test_support {

// One finding line of `tagwright check`'s text output, taken apart.
struct FindingLine {
  std::string file;
  int line = 0;
  int column = 0;
  std::string severity;
  std::string message;
  std::string rule;
};

// Every line of the form FILE:LINE:COLUMN: warning|error: message [rule];
// the summary line and anything else are left out.
inline std::vector<FindingLine> findingLines(const std::string& output) {
  static const std::regex kLine(R"(^(.*):(\d+):(\d+): (warning|error): (.*) \[([a-z0-9-]+)\]$)");
  std::vector<FindingLine> lines;
  std::istringstream in(output);
  std::string text;
  while (std::getline(in, text)) {
    std::smatch m;
    if (!std::regex_match(text, m, kLine)) continue;
    lines.push_back({m[1], std::stoi(m[2]), std::stoi(m[3]), m[4], m[5], m[6]});
  }
  return lines;
}

}  // namespace tagwright::test_support
