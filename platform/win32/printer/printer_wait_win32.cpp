// The printer's wait over Winsock: WSAPoll takes what poll takes, for
// sockets only, which is why the wake-up is a socket too.
#include "platform/win32/transport/winsock_start.h"
#include "platform/win32/unique_resource.h"
#include "virtual_printer/printer_wait.h"

namespace tagwright::cli::printer {

void wait_handle_traits::close(WaitHandle handle) noexcept {
  static_cast<void>(::closesocket(static_cast<SOCKET>(handle)));
}

Result<int> waitForEntries(std::vector<WaitEntry>& entries, int waitMs) {
  std::vector<WSAPOLLFD> polled;
  polled.reserve(entries.size());
  for (const WaitEntry& entry : entries) {
    polled.push_back(WSAPOLLFD{static_cast<SOCKET>(entry.handle), POLLRDNORM, 0});
  }
  const int ready = ::WSAPoll(polled.data(), static_cast<ULONG>(polled.size()), waitMs);
  if (ready == SOCKET_ERROR) {
    const int error = ::WSAGetLastError();
    if (error == WSAEINTR) return 0;
    return Result<int>::failure("WSAPoll failed: " + win32::systemErrorText(error));
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    entries[i].readable = (polled[i].revents & POLLRDNORM) != 0;
    entries[i].ended = (polled[i].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
  }
  return ready;
}

}  // namespace tagwright::cli::printer
