#pragma once

#include <optional>
#include <string>
#include <vector>

#include "virtual_printer/printer_engine.h"
#include "virtual_printer/printer_wait.h"
#include "virtual_printer/status_machine.h"

namespace tagwright::cli::printer {

// Where the printer's jobs come from: a TCP port, a pseudo-terminal, a
// named pipe or a file. The loop polls what an input asks for and hands
// it the results; the input reads, feeds the engine and answers.
class PrinterInput {
 public:
  virtual ~PrinterInput() = default;

  // What the log shows when the printer starts: the kind ("tcp",
  // "pseudo-terminal", "named pipe", "file") and where.
  virtual std::string kind() const = 0;
  virtual std::string where() const = 0;

  // The descriptors to wait for; `retryAfterMs` may be lowered when the
  // input wants to look again without an event (a terminal nobody has open).
  virtual void pollEntries(std::vector<WaitEntry>& entries, int& retryAfterMs) = 0;
  // Acts on what the wait said about the entries this input added (they
  // start at `first`); false when the input has ended for good.
  virtual bool serve(const std::vector<WaitEntry>& entries, std::size_t first,
                     PrinterEngine& engine, PrinterClock::time_point now) = 0;
  // Jobs ended so far (connections closed, writers gone, the file read).
  virtual int jobsEnded() const = 0;
};

}  // namespace tagwright::cli::printer
