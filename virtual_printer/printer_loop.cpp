#include "virtual_printer/printer_loop.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace tagwright::cli::printer {
namespace {

// Even with nothing printing the loop looks up now and then; a longer wait
// would only delay nothing.
constexpr int kIdleWaitMs = 500;

int millisecondsUntil(PrinterClock::time_point when, PrinterClock::time_point now) {
  if (when <= now) return 0;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
  return static_cast<int>(std::min<long long>(wait, kIdleWaitMs));
}

}  // namespace

std::string runPrinter(PrinterInput& input, PrinterEngine& engine, const WakePipe& stop,
                       int onceJobs) {
  std::vector<WaitEntry> entries;
  for (;;) {
    entries.clear();
    entries.push_back(WaitEntry{stop.waitHandle()});
    int waitMs = kIdleWaitMs;
    input.pollEntries(entries, waitMs);
    const PrinterClock::time_point before = PrinterClock::now();
    if (const auto next = engine.nextChange()) {
      waitMs = std::min(waitMs, millisecondsUntil(*next, before));
    }
    const Result<int> ready = waitForEntries(entries, waitMs);
    if (!ready) return ready.error();
    const PrinterClock::time_point now = PrinterClock::now();
    if (ready.value() > 0 && entries[0].readable) {
      // What has arrived is taken, and the job in progress ends there.
      input.serve(entries, 1, engine, now);
      engine.endJob(now);
      const std::string signal = stop.signalSeen();
      return signal.empty() ? "stopped" : signal;
    }
    if (!input.serve(entries, 1, engine, now)) {
      engine.tick(PrinterClock::now());
      return "the input ended";
    }
    engine.tick(now);
    if (onceJobs > 0 && input.jobsEnded() >= onceJobs) return "the job ended (--once)";
  }
}

}  // namespace tagwright::cli::printer
