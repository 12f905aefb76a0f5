#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/send_all.h"
#include "platform/posix/unique_resource.h"
#include "virtual_printer/printer_socket.h"

namespace tagwright::cli::printer {
namespace {

// Connections the system holds until the printer takes them; the printer
// takes them at once (to wait their turn, or to turn them away), so this
// only has to outlast a burst.
constexpr int kBacklog = 64;

int fdOf(WaitHandle handle) { return static_cast<int>(handle); }

std::string addressText(const sockaddr_storage& address) {
  char host[INET6_ADDRSTRLEN] = {};
  std::uint16_t port = 0;
  if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    ::inet_ntop(AF_INET6, &v6.sin6_addr, host, sizeof host);
    port = ntohs(v6.sin6_port);
    return "[" + std::string(host) + "]:" + std::to_string(port);
  }
  const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
  ::inet_ntop(AF_INET, &v4.sin_addr, host, sizeof host);
  port = ntohs(v4.sin_port);
  return std::string(host) + ":" + std::to_string(port);
}

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
    return Opened::failure("--listen " + given + ": " + ::gai_strerror(failed));
  }
  const unique_addrinfo addresses(found);
  unique_wait_handle socket(
      ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!socket) return Opened::failure(std::string("socket: ") + std::strerror(errno));
  const int yes = 1;
  ::setsockopt(fdOf(socket.get()), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  if (::bind(fdOf(socket.get()), found->ai_addr, found->ai_addrlen) != 0 ||
      (listen && ::listen(fdOf(socket.get()), kBacklog) != 0)) {
    return Opened::failure("cannot listen on " + given + ": " + std::strerror(errno));
  }
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
  ::getsockname(fdOf(socket.get()), reinterpret_cast<sockaddr*>(&bound), &size);
  return ListeningSocket{std::move(socket), addressText(bound)};
}

std::optional<AcceptedSocket> acceptOn(WaitHandle listener) {
  sockaddr_storage peer{};
  socklen_t size = sizeof peer;
  const int fd = ::accept4(fdOf(listener), reinterpret_cast<sockaddr*>(&peer), &size,
                           SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) return std::nullopt;
  return AcceptedSocket{unique_wait_handle(fd), addressText(peer)};
}

Received receiveFrom(WaitHandle socket, char* buffer, std::size_t size) {
  const ssize_t got = ::recv(fdOf(socket), buffer, size, 0);
  Received received;
  if (got >= 0) {
    received.bytes = static_cast<std::size_t>(got);
  } else if (errno == EAGAIN || errno == EINTR) {
    received.again = true;
  } else {
    received.failure = std::strerror(errno);
  }
  return received;
}

void resetOnClose(WaitHandle socket) {
  const linger abortive{1, 0};
  ::setsockopt(fdOf(socket), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
}

bool sendAnswer(WaitHandle socket, const std::string& bytes, std::chrono::milliseconds stall) {
  SendWaits waits;
  waits.stall = stall;
  return sendAll(realSystemCalls(), fdOf(socket), bytes, SendCall::Send, waits).ok();
}

}  // namespace tagwright::cli::printer
