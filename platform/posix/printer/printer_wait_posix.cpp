#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "virtual_printer/printer_wait.h"

namespace tagwright::cli::printer {

void wait_handle_traits::close(WaitHandle handle) noexcept {
  static_cast<void>(::close(static_cast<int>(handle)));
}

Result<int> waitForEntries(std::vector<WaitEntry>& entries, int waitMs) {
  std::vector<pollfd> polled;
  polled.reserve(entries.size());
  for (const WaitEntry& entry : entries) {
    polled.push_back(pollfd{static_cast<int>(entry.handle), POLLIN, 0});
  }
  const int ready = ::poll(polled.data(), polled.size(), waitMs);
  if (ready < 0 && errno == EINTR) return 0;
  if (ready < 0) return Result<int>::failure(std::string("poll failed: ") + std::strerror(errno));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    entries[i].readable = (polled[i].revents & POLLIN) != 0;
    entries[i].ended = (polled[i].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
  }
  return ready;
}

}  // namespace tagwright::cli::printer
