#include <ws2tcpip.h>

#include <algorithm>
#include <climits>

#include "platform/win32/transport/socket_wait.h"
#include "platform/win32/transport/winsock_start.h"
#include "platform/win32/unique_resource.h"
#include "virtual_printer/printer_socket.h"

namespace tagwright::cli::printer {
namespace {

// Connections the system holds until the printer takes them; the printer
// takes them at once (to wait their turn, or to turn them away), so this
// only has to outlast a burst.
constexpr int kBacklog = 64;

SOCKET socketOf(WaitHandle handle) { return static_cast<SOCKET>(handle); }

std::string lastError() { return win32::systemErrorText(::WSAGetLastError()); }

// FIONBIO is an unsigned number that the call takes as a long.
bool makeNonBlocking(SOCKET socket) {
  u_long on = 1;
  return ::ioctlsocket(socket, static_cast<long>(FIONBIO), &on) == 0;
}

std::string addressText(const sockaddr_storage& address, int size) {
  char host[NI_MAXHOST] = {};
  char port[NI_MAXSERV] = {};
  if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), size, host, sizeof host, port,
                    sizeof port, NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
    return "?";
  }
  if (address.ss_family == AF_INET6) return "[" + std::string(host) + "]:" + port;
  return std::string(host) + ":" + port;
}

struct addrinfo_traits {
  using type = addrinfo*;
  static constexpr addrinfo* invalid() noexcept { return nullptr; }
  static void close(addrinfo* list) noexcept { ::freeaddrinfo(list); }
};

}  // namespace

Result<ListeningSocket> listenOn(const std::string& host, const std::string& port, bool listen,
                                 const std::string& given) {
  using Opened = Result<ListeningSocket>;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (const int failed = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); failed != 0) {
    return Opened::failure("--listen " + given + ": " + win32::systemErrorText(failed));
  }
  const unique_any<addrinfo_traits> addresses(found);
  unique_wait_handle socket(
      static_cast<WaitHandle>(::socket(found->ai_family, SOCK_STREAM, IPPROTO_TCP)));
  if (!socket) return Opened::failure("socket: " + lastError());
  // Windows' SO_REUSEADDR would let another program take the port as well;
  // a port in TIME_WAIT can be bound again without it.
  if (!makeNonBlocking(socketOf(socket.get())) ||
      ::bind(socketOf(socket.get()), found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0 ||
      (listen && ::listen(socketOf(socket.get()), kBacklog) != 0)) {
    return Opened::failure("cannot listen on " + given + ": " + lastError());
  }
  sockaddr_storage bound{};
  int size = sizeof bound;
  ::getsockname(socketOf(socket.get()), reinterpret_cast<sockaddr*>(&bound), &size);
  return ListeningSocket{std::move(socket), addressText(bound, size)};
}

std::optional<AcceptedSocket> acceptOn(WaitHandle listener) {
  sockaddr_storage peer{};
  int size = sizeof peer;
  unique_wait_handle socket(static_cast<WaitHandle>(
      ::accept(socketOf(listener), reinterpret_cast<sockaddr*>(&peer), &size)));
  if (!socket || !makeNonBlocking(socketOf(socket.get()))) return std::nullopt;
  return AcceptedSocket{std::move(socket), addressText(peer, size)};
}

Received receiveFrom(WaitHandle socket, char* buffer, std::size_t size) {
  const int got =
      ::recv(socketOf(socket), buffer, static_cast<int>(std::min<std::size_t>(size, INT_MAX)), 0);
  Received received;
  if (got >= 0) {
    received.bytes = static_cast<std::size_t>(got);
    return received;
  }
  const int error = ::WSAGetLastError();
  if (error == WSAEWOULDBLOCK || error == WSAEINTR) {
    received.again = true;
  } else {
    received.failure = win32::systemErrorText(error);
  }
  return received;
}

void resetOnClose(WaitHandle socket) {
  const linger abortive{1, 0};
  ::setsockopt(socketOf(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive),
               sizeof abortive);
}

bool sendAnswer(WaitHandle socket, const std::string& bytes, std::chrono::milliseconds stall) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size() - sent, INT_MAX));
    const int done = ::send(socketOf(socket), bytes.data() + sent, chunk, 0);
    if (done > 0) {
      sent += static_cast<std::size_t>(done);
      continue;
    }
    if (done == SOCKET_ERROR && ::WSAGetLastError() == WSAEWOULDBLOCK &&
        win32::waitForSocket(socketOf(socket), win32::SocketReadiness::Write, stall) == 1) {
      continue;
    }
    return false;
  }
  return true;
}

}  // namespace tagwright::cli::printer
