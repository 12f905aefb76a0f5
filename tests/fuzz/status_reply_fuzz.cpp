// libFuzzer entry point over the status replies a printer sends: any bytes,
// arriving in pieces whose sizes the input chooses, read into lines and
// parsed as answers by the same wait that `run --confirm` uses. Every line
// must be whole (no CR or LF in it, never empty), the lines together never
// hold more than came, every parsed answer must be written back as the
// same bytes, and the wait must end with a verdict that agrees with the
// last answer.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "status/answer_lines.h"
#include "status/printer_status.h"
#include "status/status_query.h"

namespace {

using namespace tagwright;
using namespace tagwright::cli;

// A printer whose replies are the fuzzer's bytes: each read takes the next
// piece; when they run out the printer is silent, or the connection broke.
class ReplayChannel final : public StatusChannel {
 public:
  explicit ReplayChannel(std::string_view bytes) : bytes_(bytes) {
    // The first byte picks the piece sizes and how the bytes end.
    if (!bytes_.empty()) {
      pieceSeed_ = static_cast<unsigned char>(bytes_.front());
      bytes_.remove_prefix(1);
    }
  }

  Status send(std::string_view) override { return Status::success(); }

  Result<std::optional<std::string>> readLine(std::chrono::milliseconds wait) override {
    Result<std::optional<std::string>> line =
        lines_.readLine(wait, [this](std::chrono::milliseconds) { return readSome(); });
    if (line && line.value()) check(*line.value());
    return line;
  }

  void discardPending() override { lines_.clear(); }

 private:
  Result<AnswerLines::Wait> readSome() {
    if (bytes_.empty()) {
      if (pieceSeed_ & 0x80) return Result<AnswerLines::Wait>::failure("the connection closed");
      return AnswerLines::Wait::Silent;
    }
    const std::size_t piece = 1 + (pieceSeed_ + taken_) % 13;
    const std::string_view now = bytes_.substr(0, piece);
    lines_.append(now.data(), now.size());
    bytes_.remove_prefix(now.size());
    taken_ += now.size();
    return AnswerLines::Wait::ReadOn;
  }

  void check(const std::string& line) {
    if (line.empty() || line.find_first_of("\r\n") != std::string::npos) __builtin_trap();
    lineBytes_ += line.size();
    if (lineBytes_ > taken_) __builtin_trap();
    if (const std::optional<PrinterStatus> status = parseStatusAnswer(line)) {
      // A check answer is two digits, a status answer "CC,NNNNN".
      const std::string again = line.size() == 2 ? checkReply(status->code) : statusReply(*status);
      if (again != line + "\r\n") __builtin_trap();
      if (status->labelsLeft < 0 || describeStatus(*status).empty()) __builtin_trap();
    }
  }

  std::string_view bytes_;
  AnswerLines lines_;
  unsigned pieceSeed_ = 0;
  std::size_t taken_ = 0;
  std::size_t lineBytes_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ReplayChannel channel(std::string_view(reinterpret_cast<const char*>(data), size));
  // No pause between the queries: the input, not the clock, ends the wait.
  ConfirmTimes times;
  times.poll = std::chrono::milliseconds(0);
  const Confirmation confirmation = waitUntilPrinted(channel, times);
  if (confirmation.printed) {
    if (!confirmation.last || !(*confirmation.last == PrinterStatus{StatusCode::Ready, 0}) ||
        !confirmation.reason.empty()) {
      __builtin_trap();
    }
  } else if (confirmation.reason.empty()) {
    __builtin_trap();
  }
  return 0;
}
