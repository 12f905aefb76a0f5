#pragma once

#include <cstdint>
#include <vector>

#include "core/util/result.h"
#include "core/util/unique_any.h"

namespace tagwright::cli::printer {

// A descriptor or socket the printer waits on, as the system numbers it: a
// file descriptor on POSIX, a SOCKET on Windows (both fit; -1 is none).
using WaitHandle = std::intptr_t;

// Owns a socket (or, on POSIX, any descriptor) of the printer's; the
// system's own call closes it.
struct wait_handle_traits {
  using type = WaitHandle;
  static constexpr WaitHandle invalid() noexcept { return -1; }
  static void close(WaitHandle handle) noexcept;
};
using unique_wait_handle = unique_any<wait_handle_traits>;

// One thing the printer's loop waits to read from, and what the wait found.
struct WaitEntry {
  WaitHandle handle = -1;
  bool readable = false;  // data, or a connection to accept
  bool ended = false;     // hung up or failed: a read says which
  bool ready() const { return readable || ended; }
};

// Waits up to `waitMs` for any of `entries` to be ready and fills in what
// each one is: the number of ready entries (0 when the time ran out or a
// signal cut the wait short), or why the wait failed.
Result<int> waitForEntries(std::vector<WaitEntry>& entries, int waitMs);

}  // namespace tagwright::cli::printer
