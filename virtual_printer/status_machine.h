#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "virtual_printer/fault_script.h"
#include "status/printer_status.h"

namespace tagwright::cli::printer {

using PrinterClock = std::chrono::steady_clock;

// What one label costs the print mechanism: the media it feeds (the label
// and its gap or feed, mm) at the print speed (inches per second).
struct MediaMotion {
  double feedMm = 28;  // 25 mm labels with a 3 mm gap
  double inchesPerSecond = 4;
};

// The time the printer takes for one label, made shorter by `speedFactor`
// (1: as fast as a real printer, 100: a hundred times faster).
PrinterClock::duration labelPrintTime(const MediaMotion& motion, double speedFactor);

// Something the printer did that the log tells.
struct PrinterEvent {
  enum class Kind { LabelPrinted, Fault };
  Kind kind = Kind::LabelPrinted;
  int labelsPrinted = 0;  // in all, after this event
  int labelsLeft = 0;
  StatusCode state = StatusCode::Ready;  // kFault: the fault met
};

// The printer's state over time, as the status queries see it. Labels
// arrive with their copy count and print time; after a short while of
// data in process (60) they print one after another (50, the count
// falling) until the printer is ready (00). A fixed fault state keeps
// anything from printing; a fault rule stops the printer before the label
// after its count. All times are given by the caller, so that tests run
// on a clock of their own.
class StatusMachine {
 public:
  struct Setup {
    std::optional<StatusCode> fixedState;  // --state
    std::vector<FaultRule> faults;         // --fault
    PrinterClock::duration processing = std::chrono::milliseconds(200);
  };

  explicit StatusMachine(Setup setup);

  // A label format is being received (60 while it is), or is complete.
  void setReceiving(bool receiving) { receiving_ = receiving; }
  // A label arrived: `copies` prints of it, each taking `printTime`.
  void addLabel(int copies, PrinterClock::duration printTime, PrinterClock::time_point now);

  // Moves the printer on to `now` and says where it is.
  PrinterStatus status(PrinterClock::time_point now);
  // What happened since the last call (after moving on to `now`).
  std::vector<PrinterEvent> takeEvents(PrinterClock::time_point now);
  // When the next label will be done, if one is printing: the time to look
  // again, so that the log tells it promptly.
  std::optional<PrinterClock::time_point> nextChange() const;

  int labelsPrinted() const { return printed_; }

 private:
  struct Pending {
    int copies;
    PrinterClock::duration printTime;
    PrinterClock::time_point readyAt;  // done with data in process
  };

  void advance(PrinterClock::time_point now);
  int labelsLeft() const;
  std::optional<StatusCode> faultBefore(int printedSoFar);

  Setup setup_;
  std::deque<Pending> queue_;
  std::optional<PrinterClock::time_point> currentStart_;
  std::optional<StatusCode> fault_;
  std::vector<bool> ruleFired_;
  bool receiving_ = false;
  int printed_ = 0;
  std::vector<PrinterEvent> events_;
};

}  // namespace tagwright::cli::printer
