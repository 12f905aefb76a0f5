#include "core/transport/sleeper.h"

#include <thread>

namespace tagwright {

void ThreadSleeper::sleepFor(std::chrono::milliseconds duration) {
  if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

}  // namespace tagwright
