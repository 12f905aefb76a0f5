#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "virtual_printer/printer_input.h"
#include "virtual_printer/printer_log.h"
#include "core/util/result.h"
#include "platform/posix/unique_resource.h"

namespace tagwright::cli::printer {

// A serial printer on a new pseudo-terminal: a program opens its path as a
// serial port (or Wine's COM port links to it). As on a serial line, a job
// is the bytes that arrive until the line falls quiet (kJobPause; status
// queries do not count); answers go back on the terminal. The terminal is raw: no echo, no line
// editing, bytes as they are.
//
// The printer keeps the terminal's other side open itself, so that it is
// always waiting on it and reads every byte as it arrives: a program that
// opens the port again and purges it (as the component does before each
// job) must not find the last job still unread.
class TerminalInput final : public PrinterInput {
 public:
  // The quiet that ends a job: far longer than any gap inside one, short
  // enough that the log follows the jobs.
  static constexpr std::chrono::milliseconds kJobPause{100};

  static Result<std::unique_ptr<TerminalInput>> open(PrinterLog& log);

  std::string kind() const override { return "pseudo-terminal"; }
  std::string where() const override { return path_; }
  void pollEntries(std::vector<WaitEntry>& entries, int& retryAfterMs) override;
  bool serve(const std::vector<WaitEntry>& entries, std::size_t first, PrinterEngine& engine,
             PrinterClock::time_point now) override;
  int jobsEnded() const override { return jobsEnded_; }

 private:
  TerminalInput(unique_fd master, unique_fd keeper, std::string path, PrinterLog& log);
  void readAll(PrinterEngine& engine, PrinterClock::time_point now);
  void answer(const std::string& bytes);

  unique_fd master_;
  unique_fd keeper_;  // the terminal's program side, held open
  std::string path_;
  PrinterLog& log_;
  PrinterClock::time_point lastByte_{};
  bool jobOpen_ = false;  // bytes came, and the quiet after them is not long enough yet
  int jobsEnded_ = 0;
};

}  // namespace tagwright::cli::printer
