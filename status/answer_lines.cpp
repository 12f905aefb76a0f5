#include "status/answer_lines.h"

namespace tagwright::cli {

std::optional<std::string> AnswerLines::take() {
  for (;;) {
    const std::size_t end = pending_.find_first_of("\r\n");
    if (end == std::string::npos) return std::nullopt;
    std::string line = pending_.substr(0, end);
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
