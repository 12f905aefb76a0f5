#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "core/transport/delivery.h"

namespace tagwright::cli {

// One progress line: "12.3 of 300.0 kB, 2.4 kB/s, 2 min 0 s left".
std::string progressLine(std::uint64_t done, std::uint64_t total,
                         std::chrono::milliseconds elapsed);

// Shows the progress of a write that takes more than a second on one line
// of a terminal, redrawn at most four times a second, and clears the line
// when the write ends. Writes that end sooner show nothing.
class TerminalProgress final : public TransferProgress {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds kQuietStart{1000};
  static constexpr std::chrono::milliseconds kRedraw{250};

  explicit TerminalProgress(std::FILE* terminal, Clock clock = &std::chrono::steady_clock::now);

  void begin(std::uint64_t total) override;
  void advance(std::uint64_t done) override;
  void end() override;

 private:
  std::FILE* const terminal_;
  const Clock clock_;
  std::uint64_t total_ = 0;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point drawn_;
  bool shown_ = false;
  bool active_ = false;
};

}  // namespace tagwright::cli
