#include "status/answer_lines.h"

#include <algorithm>
#include <string_view>

namespace tagwright::cli {

void AnswerLines::append(const char* bytes, std::size_t size) {
  std::string_view more(bytes, size);
  if (skipping_) {
    const std::size_t end = more.find_first_of("\r\n");
    if (end == std::string_view::npos) return;
    skipping_ = false;
    more.remove_prefix(end + 1);
  }
  pending_.append(more);
  const std::size_t lastEnd = pending_.find_last_of("\r\n");
  const std::size_t open = lastEnd == std::string::npos ? 0 : lastEnd + 1;
  if (pending_.size() - open > kLongestLine) {
    pending_.resize(open + kLongestLine);
    pending_ += '\n';
    skipping_ = true;
  }
}

std::optional<std::string> AnswerLines::take() {
  for (;;) {
    const std::size_t end = pending_.find_first_of("\r\n");
    if (end == std::string::npos) return std::nullopt;
    std::string line = pending_.substr(0, std::min(end, kLongestLine));
    std::size_t next = end + 1;
    if (pending_[end] == '\r' && next < pending_.size() && pending_[next] == '\n') ++next;
    pending_.erase(0, next);
    if (!line.empty()) return line;
    // An empty line is the LF of a CR LF split over two reads.
  }
}

Result<std::optional<std::string>> AnswerLines::readLine(std::chrono::milliseconds wait,
                                                         const ReadSome& readSome) {
  using Read = Result<std::optional<std::string>>;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (std::optional<std::string> line = take()) return line;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::optional<std::string>();
    const Result<Wait> waited = readSome(left);
    if (!waited) return Read::failure(waited.error());
    if (waited.value() == Wait::Silent) return std::optional<std::string>();
  }
}

}  // namespace tagwright::cli
