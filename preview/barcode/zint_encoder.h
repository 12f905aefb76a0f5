#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tagwright::preview {

// What zint is asked to encode; the fields are zint's own (zint.h).
struct ZintInput {
  int symbology = 0;
  int option1 = -1;
  int option2 = 0;
  int option3 = 0;
  int inputMode = 0;  // DATA_MODE
  std::string data;
};

// The symbol zint made: its modules row by row (1 dark, 0 light), and the
// human-readable text zint would print; or zint's error message.
struct ZintOutput {
  std::vector<std::vector<std::uint8_t>> rows;
  std::string text;
  std::string error;    // non-empty: nothing encoded
  std::string warning;  // zint encoded, with a warning
};

ZintOutput encodeWithZint(const ZintInput& input);

}  // namespace tagwright::preview
