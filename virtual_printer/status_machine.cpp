#include "virtual_printer/status_machine.h"

#include <algorithm>
#include <numeric>

namespace tagwright::cli::printer {

PrinterClock::duration labelPrintTime(const MediaMotion& motion, double speedFactor) {
  constexpr double kMmPerInch = 25.4;
  const double speed = motion.inchesPerSecond > 0 ? motion.inchesPerSecond : 1;
  const double factor = speedFactor > 0 ? speedFactor : 1;
  const double seconds = std::max(motion.feedMm, 0.0) / (speed * kMmPerInch) / factor;
  return std::chrono::duration_cast<PrinterClock::duration>(std::chrono::duration<double>(seconds));
}

StatusMachine::StatusMachine(Setup setup)
    : setup_(std::move(setup)), ruleFired_(setup_.faults.size(), false) {
  if (setup_.fixedState) fault_ = setup_.fixedState;
}

void StatusMachine::addLabel(int copies, PrinterClock::duration printTime,
                             PrinterClock::time_point now) {
  advance(now);
  if (copies < 1) return;
  queue_.push_back(Pending{copies, printTime, now + setup_.processing});
}

std::optional<StatusCode> StatusMachine::faultBefore(int printedSoFar) {
  for (std::size_t i = 0; i < setup_.faults.size(); ++i) {
    if (!ruleFired_[i] && setup_.faults[i].afterLabels <= printedSoFar) {
      ruleFired_[i] = true;
      return setup_.faults[i].state;
    }
  }
  return std::nullopt;
}

void StatusMachine::advance(PrinterClock::time_point now) {
  while (!fault_ && !queue_.empty()) {
    Pending& next = queue_.front();
    if (!currentStart_) {
      if (now < next.readyAt) return;
      if (std::optional<StatusCode> met = faultBefore(printed_)) {
        fault_ = met;
        events_.push_back({PrinterEvent::Kind::Fault, printed_, labelsLeft(), *met});
        return;
      }
      currentStart_ = next.readyAt;
    }
    const PrinterClock::time_point done = *currentStart_ + next.printTime;
    if (now < done) return;
    ++printed_;
    --next.copies;
    currentStart_.reset();
    if (next.copies == 0) {
      queue_.pop_front();
    } else {
      next.readyAt = done;  // the next copy follows at once
    }
    if (!queue_.empty() && queue_.front().readyAt < done) queue_.front().readyAt = done;
    events_.push_back(
        {PrinterEvent::Kind::LabelPrinted, printed_, labelsLeft(), StatusCode::Printing});
  }
}

int StatusMachine::labelsLeft() const {
  return std::accumulate(queue_.begin(), queue_.end(), 0,
                         [](int sum, const Pending& p) { return sum + p.copies; });
}

PrinterStatus StatusMachine::status(PrinterClock::time_point now) {
  advance(now);
  const int left = labelsLeft();
  if (fault_) return {*fault_, left};
  if (receiving_) return {StatusCode::DataInProcess, left};
  if (left == 0) return {StatusCode::Ready, 0};
  if (!currentStart_) return {StatusCode::DataInProcess, left};
  return {StatusCode::Printing, left};
}

std::vector<PrinterEvent> StatusMachine::takeEvents(PrinterClock::time_point now) {
  advance(now);
  return std::exchange(events_, {});
}

std::optional<PrinterClock::time_point> StatusMachine::nextChange() const {
  if (fault_ || queue_.empty()) return std::nullopt;
  if (!currentStart_) return queue_.front().readyAt;
  return *currentStart_ + queue_.front().printTime;
}

}  // namespace tagwright::cli::printer
