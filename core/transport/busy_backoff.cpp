#include "core/transport/busy_backoff.h"

#include <algorithm>
#include <thread>

namespace tagwright {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kLongestBusyPause{1000};

std::optional<milliseconds> BusyBackoff::nextPause(milliseconds sinceFirstRefusal) {
  if (sinceFirstRefusal >= busy_) return std::nullopt;
  const milliseconds pause = std::min(pause_, busy_ - sinceFirstRefusal);
  pause_ = std::min(pause_ * 2, kLongestBusyPause);
  return pause;
}

ConnectRound connectWhileBusy(const std::function<ConnectRound()>& round, const std::string& place,
                              milliseconds busy, const NoticeFunction& notice) {
  auto say = [&](const std::string& line) {
    if (notice) notice(line);
  };
  BusyBackoff backoff(busy);
  std::optional<Clock::time_point> firstRefusal;
  for (;;) {
    const ConnectRound outcome = round();
    if (outcome != ConnectRound::Refused) return outcome;
    const Clock::time_point now = Clock::now();
    if (!firstRefusal) {
      firstRefusal = now;
      say(busyRefusalText(place, busy));
    }
    const std::optional<milliseconds> pause =
        backoff.nextPause(std::chrono::duration_cast<milliseconds>(now - *firstRefusal));
    if (!pause) {
      say(stillRefusedText(place, busy));
      return ConnectRound::Refused;
    }
    std::this_thread::sleep_for(*pause);
  }
}

bool connectPrinter(const std::string& place, const Status& lookup,
                    const std::function<ConnectRoundResult()>& round,
                    const NetworkTimeouts& timeouts, const NoticeFunction& notice,
                    std::uint32_t& error) {
  if (!lookup) {
    error = kErrorHostNotFound;
    if (notice) notice(hostNotFoundText(place, lookup.error()));
    return false;
  }
  const ConnectRound outcome = connectWhileBusy(
      [&] {
        const ConnectRoundResult result = round();
        if (result.round == ConnectRound::Failed) {
          error = result.error;
          if (notice) notice(cannotReachText(place, result.kind, result.systemText, timeouts));
        }
        return result.round;
      },
      place, timeouts.busy, notice);
  if (outcome == ConnectRound::Refused) error = kErrorConnectionRefused;
  return outcome == ConnectRound::Connected;
}

}  // namespace tagwright
