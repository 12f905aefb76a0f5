#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/util/result.h"

namespace tagwright::cli {

// The printer's answers as they arrive, in pieces, cut into lines: an
// answer ends with CR LF, and a lone CR or LF ends it too. An answer is a
// few bytes: a line that grows past kLongestLine without an end is handed
// over cut there (it is no status), and its rest up to the next end is
// thrown away, so that a peer that never stops sending holds no more.
class AnswerLines {
 public:
  static constexpr std::size_t kLongestLine = 256;
  // Old answers waiting before a query are a few lines; a channel throws
  // away no more than this before it asks, so that a peer that floods
  // cannot keep the query from going out.
  static constexpr std::size_t kMostDiscarded = 64 * 1024;

  // What one wait for bytes came to.
  enum class Wait {
    ReadOn,  // bytes came and were appended, or the wait ended early: look again
    Silent,  // nothing came in the time given
  };
  // Waits up to `left` for bytes and appends them here; a failure when the
  // channel closed or failed.
  using ReadSome = std::function<Result<Wait>(std::chrono::milliseconds left)>;

  void append(const char* bytes, std::size_t size);
  // The next whole line without its end, if one has come.
  std::optional<std::string> take();
  void clear() {
    pending_.clear();
    skipping_ = false;
  }
  // Bytes held that are not yet a line (never more than kLongestLine).
  std::size_t held() const { return pending_.size(); }

  // The next whole line, reading through `readSome` for as long as `wait`
  // allows: nothing when none came whole in time, the failure of
  // `readSome` when the channel broke.
  Result<std::optional<std::string>> readLine(std::chrono::milliseconds wait,
                                              const ReadSome& readSome);

 private:
  std::string pending_;
  bool skipping_ = false;  // inside the rest of a line that was too long
};

}  // namespace tagwright::cli
