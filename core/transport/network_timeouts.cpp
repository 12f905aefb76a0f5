#include "core/transport/network_timeouts.h"

namespace tagwright {

using std::chrono::milliseconds;

std::string tookNoDataText(milliseconds stall) {
  return "the printer took no data for " + secondsText(stall) +
         " (out of media, paused or jammed?)";
}

std::string secondsText(milliseconds duration) {
  const auto ms = duration.count();
  if (ms % 1000 == 0) return std::to_string(ms / 1000) + " s";
  std::string text = std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100);
  if (ms % 100 != 0) text += std::to_string(ms % 100 / 10);
  return text + " s";
}

}  // namespace tagwright
