#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/printer/printer_input.h"
#include "cli/printer/printer_log.h"
#include "cli/printer/unique_fd.h"
#include "core/util/result.h"

namespace tagwright::cli::printer {

// A serial printer on a new pseudo-terminal: a program opens its path as a
// serial port (or Wine's COM port links to it). One job runs from the first
// byte to the moment nobody has the terminal open any more; answers go back
// on the terminal. The terminal is raw: no echo, no line editing, bytes as
// they are.
class TerminalInput final : public PrinterInput {
 public:
  static Result<std::unique_ptr<TerminalInput>> open(PrinterLog& log);

  std::string kind() const override { return "pseudo-terminal"; }
  std::string where() const override { return path_; }
  void pollEntries(std::vector<pollfd>& entries, int& retryAfterMs) override;
  bool serve(const std::vector<pollfd>& entries, std::size_t first, PrinterEngine& engine,
             PrinterClock::time_point now) override;
  int jobsEnded() const override { return jobsEnded_; }

 private:
  TerminalInput(UniqueFd master, std::string path, PrinterLog& log);
  void readAll(PrinterEngine& engine, PrinterClock::time_point now);
  void writeAll(const std::string& bytes);

  UniqueFd master_;
  std::string path_;
  PrinterLog& log_;
  bool nobodyThere_ = true;  // no program has the terminal open
  int jobsEnded_ = 0;
};

}  // namespace tagwright::cli::printer
