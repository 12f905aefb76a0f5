#pragma once

#include <chrono>
#include <string>

namespace tagwright {

// The time-outs of a raw network printer; the defaults suit a printer on a
// local network.
struct NetworkTimeouts {
  std::chrono::milliseconds connect{5000};    // one connection attempt
  std::chrono::milliseconds busy{60000};      // refused connections, from the first refusal
  std::chrono::milliseconds stall{30000};     // no progress while sending (devices too)
  std::chrono::milliseconds closeWait{2000};  // for the printer's close after the job
};

// A duration as messages show it: "30 s", "0.5 s", "1.25 s".
std::string secondsText(std::chrono::milliseconds duration);

// Why a job ended when the printer stopped taking its bytes.
std::string tookNoDataText(std::chrono::milliseconds stall);

}  // namespace tagwright
