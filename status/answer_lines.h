#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tagwright::cli {

// The printer's answers as they arrive, in pieces, cut into lines: an
// answer ends with CR LF, and a lone CR or LF ends it too.
class AnswerLines {
 public:
  void append(const char* bytes, std::size_t size) { pending_.append(bytes, size); }
  // The next whole line without its end, if one has come.
  std::optional<std::string> take();
  void clear() { pending_.clear(); }

 private:
  std::string pending_;
};

}  // namespace tagwright::cli
