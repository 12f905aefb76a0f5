#include "cli/app/progress_meter.h"

#include <cstdio>

namespace tagwright::cli {
namespace {

// Bytes in kB (1000) with one decimal, or in MB from ten megabytes on.
std::string amount(std::uint64_t bytes, bool megabytes) {
  char text[32];
  if (megabytes) {
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / 1e3);
  }
  return text;
}

std::string duration(std::uint64_t seconds) {
  if (seconds < 60) return std::to_string(seconds) + " s";
  if (seconds < 3600) {
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
  }
  return std::to_string(seconds / 3600) + " h " + std::to_string(seconds % 3600 / 60) + " min";
}

}  // namespace

std::string progressLine(std::uint64_t done, std::uint64_t total,
                         std::chrono::milliseconds elapsed) {
  const bool megabytes = total >= 10'000'000;
  std::string line =
      amount(done, megabytes) + " of " + amount(total, megabytes) + (megabytes ? " MB" : " kB");
  if (elapsed.count() <= 0 || done == 0) return line + ", waiting for the printer";
  const double rate = static_cast<double>(done) * 1000.0 / static_cast<double>(elapsed.count());
  char shown[32];
  if (rate >= 1e6) {
    std::snprintf(shown, sizeof shown, "%.1f MB/s", rate / 1e6);
  } else {
    std::snprintf(shown, sizeof shown, "%.1f kB/s", rate / 1e3);
  }
  line += ", ";
  line += shown;
  const auto left = static_cast<std::uint64_t>(static_cast<double>(total - done) / rate + 0.5);
  return line + ", " + duration(left) + " left";
}

TerminalProgress::TerminalProgress(std::FILE* terminal, Clock clock)
    : terminal_(terminal), clock_(std::move(clock)) {}

void TerminalProgress::begin(std::uint64_t total) {
  if (shown_) end();
  total_ = total;
  started_ = clock_();
  active_ = true;
}

void TerminalProgress::advance(std::uint64_t done) {
  if (!active_) return;
  const auto now = clock_();
  if (now - started_ < kQuietStart) return;
  if (shown_ && now - drawn_ < kRedraw) return;
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - started_);
  // \r and "erase to the end of the line": the line is drawn over itself.
  std::fprintf(terminal_, "\rtagwright: sending %s\x1b[K",
               progressLine(done, total_, elapsed).c_str());
  std::fflush(terminal_);
  drawn_ = now;
  shown_ = true;
}

void TerminalProgress::end() {
  if (shown_) {
    std::fputs("\r\x1b[K", terminal_);
    std::fflush(terminal_);
  }
  shown_ = false;
  active_ = false;
}

}  // namespace tagwright::cli
