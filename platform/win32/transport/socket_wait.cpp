#include "platform/win32/transport/socket_wait.h"

namespace tagwright::win32 {

int waitForSocket(SOCKET socket, SocketReadiness readiness, std::chrono::milliseconds wait) {
  fd_set ready;
  fd_set exceptions;
  FD_ZERO(&ready);
  FD_ZERO(&exceptions);
  FD_SET(socket, &ready);
  FD_SET(socket, &exceptions);
  timeval timeout{};
  timeout.tv_sec = static_cast<long>(wait.count() / 1000);
  timeout.tv_usec = static_cast<long>(wait.count() % 1000 * 1000);
  const bool write = readiness == SocketReadiness::Write;
  return ::select(0, write ? nullptr : &ready, write ? &ready : nullptr, &exceptions, &timeout);
}

}  // namespace tagwright::win32
