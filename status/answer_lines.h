#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/util/result.h"

namespace tagwright::cli {

// The printer's answers as they arrive, in pieces, cut into lines: an
// answer ends with CR LF, and a lone CR or LF ends it too.
class AnswerLines {
 public:
  // What one wait for bytes came to.
  enum class Wait {
    ReadOn,  // bytes came and were appended, or the wait ended early: look again
    Silent,  // nothing came in the time given
  };
  // Waits up to `left` for bytes and appends them here; a failure when the
  // channel closed or failed.
  using ReadSome = std::function<Result<Wait>(std::chrono::milliseconds left)>;

  void append(const char* bytes, std::size_t size) { pending_.append(bytes, size); }
  // The next whole line without its end, if one has come.
  std::optional<std::string> take();
  void clear() { pending_.clear(); }

  // The next whole line, reading through `readSome` for as long as `wait`
  // allows: nothing when none came whole in time, the failure of
  // `readSome` when the channel broke.
  Result<std::optional<std::string>> readLine(std::chrono::milliseconds wait,
                                              const ReadSome& readSome);

 private:
  std::string pending_;
};

}  // namespace tagwright::cli
