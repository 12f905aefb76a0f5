#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
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

  // The next whole line, reading through `readSome` for as long as `wait`
  // allows: it waits up to the time left for bytes, appends them here, and
  // says false when none came or the channel failed.
  std::optional<std::string> readLine(
      std::chrono::milliseconds wait,
      const std::function<bool(std::chrono::milliseconds left)>& readSome);

 private:
  std::string pending_;
};

}  // namespace tagwright::cli
