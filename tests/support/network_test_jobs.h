#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "core/transport/network_timeouts.h"

namespace tagwright::testing {

// Time-outs short enough that every network printer test ends in well under
// a few seconds, on Linux and under Wine alike.
inline NetworkTimeouts shortTimeouts() {
  NetworkTimeouts t;
  t.connect = std::chrono::milliseconds(300);
  t.busy = std::chrono::milliseconds(600);
  t.stall = std::chrono::milliseconds(300);
  t.closeWait = std::chrono::milliseconds(200);
  return t;
}

// A job with every byte value in it, so that nothing may be changed on the
// way (line ends, high bytes, NULs).
inline std::string jobOfSize(std::size_t size) {
  std::string job(size, '\0');
  for (std::size_t i = 0; i < size; ++i) job[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return job;
}

}  // namespace tagwright::testing
