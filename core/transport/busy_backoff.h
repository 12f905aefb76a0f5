#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/transport/network_printer_texts.h"
#include "core/util/result.h"

namespace tagwright {

// The pauses between connection attempts to a printer that refuses them
// (busy with another sender): 10 ms, doubling up to 1 s, for as long as the
// busy time-out, counted from the first refusal, allows.
class BusyBackoff {
 public:
  explicit BusyBackoff(std::chrono::milliseconds busy) : busy_(busy) {}

  // The pause before the next attempt, `sinceFirstRefusal` after the first
  // refusal; nothing once the busy time-out has passed.
  std::optional<std::chrono::milliseconds> nextPause(std::chrono::milliseconds sinceFirstRefusal);

 private:
  std::chrono::milliseconds busy_;
  std::chrono::milliseconds pause_{10};
};

// How one round of connection attempts (every address of the printer) ended.
enum class ConnectRound { Connected, Refused, Failed };

// Runs `round` until it connects or fails for another reason than a
// refusal, pausing as BusyBackoff says while it is refused. The first
// refusal and the end of the busy time-out are said through `notice`, after
// `place` (printerPlaceText); other failures are the round's to say.
// Returns Refused when the busy time-out ran out.
ConnectRound connectWhileBusy(const std::function<ConnectRound()>& round, const std::string& place,
                              std::chrono::milliseconds busy, const NoticeFunction& notice);

// How one round of connection attempts ended, with, when it failed for
// another reason than a refusal, what the system said.
struct ConnectRoundResult {
  ConnectRound round = ConnectRound::Failed;
  std::uint32_t error = 0;  // the system error, Windows numbering
  ConnectFailureKind kind = ConnectFailureKind::Other;
  std::string systemText;

  // A round that connected or was refused: nothing more to say.
  static ConnectRoundResult ended(ConnectRound round) { return {round, 0, {}, {}}; }
};

// Connects to a network printer, on every system alike: when its address
// could not be found (`lookup` failed, saying why in the system's words),
// says so; otherwise runs `round` while the printer is busy, as
// connectWhileBusy does, and says why it failed. True when connected;
// otherwise `error` is set (the Winsock code).
bool connectPrinter(const std::string& place, const Status& lookup,
                    const std::function<ConnectRoundResult()>& round,
                    const NetworkTimeouts& timeouts, const NoticeFunction& notice,
                    std::uint32_t& error);

}  // namespace tagwright
