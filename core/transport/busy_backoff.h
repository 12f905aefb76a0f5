#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "core/transport/network_printer_texts.h"

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
enum class ConnectRound { kConnected, kRefused, kFailed };

// Runs `round` until it connects or fails for another reason than a
// refusal, pausing as BusyBackoff says while it is refused. The first
// refusal and the end of the busy time-out are said through `notice`, after
// `place` (printerPlaceText); other failures are the round's to say.
// Returns kRefused when the busy time-out ran out.
ConnectRound connectWhileBusy(const std::function<ConnectRound()>& round, const std::string& place,
                              std::chrono::milliseconds busy, const NoticeFunction& notice);

}  // namespace tagwright
