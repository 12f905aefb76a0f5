#include "virtual_printer/tcp_input.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/posix/send_all.h"

namespace tagwright::cli::printer {
namespace {

constexpr std::size_t kReadSize = 64 * 1024;
// Answers are a few bytes; a client that does not read them for this long
// loses them.
constexpr std::chrono::milliseconds kAnswerWait{1000};

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

Result<std::pair<std::string, std::string>> splitListenAddress(const std::string& text) {
  using Split = Result<std::pair<std::string, std::string>>;
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon + 1 == text.size()) {
    return Split::failure("--listen takes HOST:PORT, e.g. 127.0.0.1:9100 (port 0: any free one)");
  }
  std::string host = text.substr(0, colon);
  const std::string port = text.substr(colon + 1);
  if (port.find_first_not_of("0123456789") != std::string::npos || port.size() > 5 ||
      std::stoul(port) > 65535) {
    return Split::failure("--listen: \"" + port + "\" is not a port number (0 to 65535)");
  }
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  }
  if (host.empty()) return Split::failure("--listen: the address to listen on is missing");
  return std::make_pair(host, port);
}

TcpInput::TcpInput(Setup setup, unique_fd listener, std::string address, PrinterLog& log)
    : setup_(std::move(setup)),
      listener_(std::move(listener)),
      address_(std::move(address)),
      log_(log) {}

Result<std::unique_ptr<TcpInput>> TcpInput::open(const Setup& setup, PrinterLog& log) {
  using Opened = Result<std::unique_ptr<TcpInput>>;
  auto split = splitListenAddress(setup.listen);
  if (!split) return Opened::failure(split.error());
  const auto& [host, port] = split.value();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (const int failed = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); failed != 0) {
    return Opened::failure("--listen " + setup.listen + ": " + ::gai_strerror(failed));
  }
  const unique_addrinfo addresses(found);
  unique_fd socket(::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!socket) return Opened::failure(std::string("socket: ") + std::strerror(errno));
  const int yes = 1;
  ::setsockopt(socket.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  if (::bind(socket.get(), found->ai_addr, found->ai_addrlen) != 0) {
    return Opened::failure("cannot listen on " + setup.listen + ": " + std::strerror(errno));
  }
  // A printer that refuses keeps its port bound without listening: the
  // system then turns every connection away.
  if (setup.fault != ConnectionFault::Refuse && ::listen(socket.get(), 8) != 0) {
    return Opened::failure("cannot listen on " + setup.listen + ": " + std::strerror(errno));
  }
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
  ::getsockname(socket.get(), reinterpret_cast<sockaddr*>(&bound), &size);
  return std::unique_ptr<TcpInput>(new TcpInput(setup, std::move(socket), addressText(bound), log));
}

void TcpInput::pollEntries(std::vector<pollfd>& entries, int&) {
  if (setup_.fault == ConnectionFault::Refuse) return;
  if (!connection_) {
    entries.push_back(pollfd{listener_.get(), POLLIN, 0});
  } else if (setup_.fault != ConnectionFault::StopReading) {
    entries.push_back(pollfd{connection_.get(), POLLIN, 0});
  }
}

bool TcpInput::serve(const std::vector<pollfd>& entries, std::size_t first, PrinterEngine& engine,
                     PrinterClock::time_point now) {
  if (first >= entries.size() || entries[first].revents == 0) return true;
  if (entries[first].fd == listener_.get()) {
    accept();
    return true;
  }
  return readConnection(engine, now);
}

void TcpInput::accept() {
  sockaddr_storage peer{};
  socklen_t size = sizeof peer;
  const int fd = ::accept4(listener_.get(), reinterpret_cast<sockaddr*>(&peer), &size,
                           SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) return;  // the client gave up meanwhile
  connection_.reset(fd);
  connectionBytes_ = 0;
  if (setup_.fault == ConnectionFault::StopReading) {
    log_.notice("took the connection from " + addressText(peer) +
                " and reads nothing from it (stop-reading)");
  }
}

bool TcpInput::readConnection(PrinterEngine& engine, PrinterClock::time_point now) {
  char buffer[kReadSize];
  std::size_t want = sizeof buffer;
  if (setup_.fault == ConnectionFault::CloseMidJob) {
    want = std::min(want, setup_.closeAfter - std::min(setup_.closeAfter, connectionBytes_));
  }
  const ssize_t got = want == 0 ? 0 : ::recv(connection_.get(), buffer, want, 0);
  if (got < 0 && (errno == EAGAIN || errno == EINTR)) return true;
  if (got < 0) {
    log_.notice(std::string("the connection failed: ") + std::strerror(errno));
    endConnection(engine, now, false);
    return true;
  }
  if (got == 0 && want == 0) {
    log_.notice("closes the connection in the middle of the job, after " +
                std::to_string(connectionBytes_) + " bytes (close-mid-job)");
    endConnection(engine, now, true);
    return true;
  }
  if (got == 0) {
    if (setup_.fault == ConnectionFault::NeverClose) {
      log_.notice("the sender is done; the connection stays open (never-close)");
      if (engine.endJob(now)) ++jobsEnded_;
      held_.push_back(std::move(connection_));
      return true;
    }
    endConnection(engine, now, false);
    return true;
  }
  connectionBytes_ += static_cast<std::size_t>(got);
  const std::string answers =
      engine.receive(std::string_view(buffer, static_cast<std::size_t>(got)), now);
  if (!answers.empty()) answer(answers);
  return true;
}

void TcpInput::endConnection(PrinterEngine& engine, PrinterClock::time_point now, bool reset) {
  if (reset) {
    // Closing with unread data makes a reset; a linger of zero makes one
    // even when nothing is waiting, as a printer that gives up does.
    const linger abortive{1, 0};
    ::setsockopt(connection_.get(), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  }
  connection_.reset();
  if (engine.endJob(now)) ++jobsEnded_;
}

void TcpInput::answer(const std::string& bytes) {
  SendWaits waits;
  waits.stall = kAnswerWait;
  if (!sendAll(realSystemCalls(), connection_.get(), bytes, SendCall::Send, waits).ok()) {
    log_.notice("an answer could not be sent: the client does not take it");
  }
}

}  // namespace tagwright::cli::printer
