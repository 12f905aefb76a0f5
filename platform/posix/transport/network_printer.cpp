#include "platform/posix/transport/network_printer.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "core/transport/busy_backoff.h"
#include "core/transport/port_layer.h"
#include "platform/posix/send_all.h"

namespace tagwright {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often the acknowledgement of the last bytes is looked at; the kernel
// gives no event for it.
constexpr milliseconds kAcknowledgementPoll{10};
// Longest single wait while sending, so that progress is shown meanwhile.
constexpr milliseconds kLongestSendWait{250};

// Keep-alive probes: a printer switched off mid-job is noticed within
// about 25 s of silence instead of the system's two hours.
constexpr int kKeepAliveIdleSeconds = 10;
constexpr int kKeepAliveIntervalSeconds = 5;
constexpr int kKeepAliveProbes = 3;

int waitMs(Clock::time_point deadline, milliseconds longest) {
  const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::clamp(left, milliseconds(0), longest).count());
}

// One attempt at one address: the connected socket, or -1 and errno.
int attemptConnect(SystemCalls& system, const addrinfo& address, milliseconds timeout) {
  unique_system_fd socket = ownThrough(
      system, system.openSocket(address.ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                address.ai_protocol));
  if (!socket) return -1;
  if (system.connectSocket(socket.get(), address.ai_addr, address.ai_addrlen) != 0) {
    // A connect interrupted by a signal goes on in the background, as one
    // that is in progress does.
    if (errno != EINPROGRESS && errno != EINTR) return -1;
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
      pollfd entry{socket.get(), POLLOUT, 0};
      const int ready = system.pollOne(entry, waitMs(deadline, timeout));
      if (ready > 0) break;
      if (ready < 0 && errno != EINTR) return -1;
      if (ready == 0 && Clock::now() >= deadline) {
        errno = ETIMEDOUT;
        return -1;
      }
    }
    int result = 0;
    socklen_t size = sizeof result;
    if (system.getSocketOption(socket.get(), SOL_SOCKET, SO_ERROR, &result, size) != 0) return -1;
    if (result != 0) {
      errno = result;
      return -1;
    }
  }
  const int on = 1;
  system.setSocketOption(socket.get(), SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  system.setSocketOption(socket.get(), IPPROTO_TCP, TCP_KEEPIDLE, &kKeepAliveIdleSeconds,
                         sizeof kKeepAliveIdleSeconds);
  system.setSocketOption(socket.get(), IPPROTO_TCP, TCP_KEEPINTVL, &kKeepAliveIntervalSeconds,
                         sizeof kKeepAliveIntervalSeconds);
  system.setSocketOption(socket.get(), IPPROTO_TCP, TCP_KEEPCNT, &kKeepAliveProbes,
                         sizeof kKeepAliveProbes);
  return socket.release();
}

// Every address of the printer in turn; a refusal from any of them wins
// over other failures, since it means a printer is there.
int connectOnce(SystemCalls& system, const addrinfo* addresses, milliseconds timeout,
                int& failure) {
  failure = EHOSTUNREACH;
  bool refused = false;
  for (const addrinfo* a = addresses; a != nullptr; a = a->ai_next) {
    const int fd = attemptConnect(system, *a, timeout);
    if (fd >= 0) return fd;
    if (errno == ECONNREFUSED) refused = true;
    failure = errno;
  }
  if (refused) failure = ECONNREFUSED;
  return -1;
}

// The end of a round of attempts that ended with `failure` (0: connected).
ConnectRoundResult outcomeOf(int failure) {
  switch (failure) {
    case 0: return ConnectRoundResult::ended(ConnectRound::Connected);
    case ECONNREFUSED: return ConnectRoundResult::ended(ConnectRound::Refused);
    case ETIMEDOUT:
      return {ConnectRound::Failed, kErrorConnectionTimedOut, ConnectFailureKind::TimedOut, {}};
    case ENETUNREACH:
      return {ConnectRound::Failed, kErrorNetworkUnreachable, ConnectFailureKind::Unreachable,
              std::strerror(failure)};
    case EHOSTUNREACH:
    case EHOSTDOWN:
      return {ConnectRound::Failed, kErrorHostUnreachable, ConnectFailureKind::Unreachable,
              std::strerror(failure)};
    default:
      return {ConnectRound::Failed, kErrorGenFailure, ConnectFailureKind::Other,
              std::strerror(failure)};
  }
}

std::string describeSendFailure(int failure) {
  switch (failure) {
    case EPIPE:
    case ECONNRESET: return sendFailureText(SendFailureKind::ClosedByPrinter, {});
    case ETIMEDOUT: return sendFailureText(SendFailureKind::TimedOut, {});
    default: return sendFailureText(SendFailureKind::Other, std::strerror(failure));
  }
}

}  // namespace

int connectNetworkPrinter(SystemCalls& system, const std::string& portName,
                          const TcpPrinterAddress& address, const NetworkTimeouts& timeouts,
                          const NoticeFunction& notice, std::uint32_t& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const int resolved =
      ::getaddrinfo(address.host.c_str(), std::to_string(address.port).c_str(), &hints, &found);
  const unique_addrinfo addresses(found);
  const Status lookup =
      resolved == 0 ? Status::success() : Status::failure(::gai_strerror(resolved));

  int fd = -1;
  const auto round = [&] {
    int failure = 0;
    fd = connectOnce(system, addresses.get(), timeouts.connect, failure);
    return outcomeOf(fd >= 0 ? 0 : failure);
  };
  const bool connected =
      connectPrinter(printerPlaceText(portName, address), lookup, round, timeouts, notice, error);
  return connected ? fd : -1;
}

NetworkPrinterLink::NetworkPrinterLink(SystemCalls& system, int fd, const NetworkTimeouts& timeouts)
    : system_(system), fd_(ownThrough(system, fd)), timeouts_(timeouts) {}

NetworkPrinterLink::~NetworkPrinterLink() {
  if (fd_) closeAbortively();
}

void NetworkPrinterLink::closeAbortively() {
  // A reset instead of an orderly close: the kernel drops what it still
  // holds instead of sending it after the job was reported as cut off.
  const linger reset{1, 0};
  system_.setSocketOption(fd_.get(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
  fd_.reset();
}

std::uint64_t NetworkPrinterLink::acknowledged() {
  int waiting = 0;
  // Unknown counts as nothing acknowledged: a count is never made larger
  // than what is known to have arrived.
  if (system_.unacknowledgedBytes(fd_.get(), waiting) != 0 || waiting < 0) return 0;
  const auto unacknowledged = static_cast<std::uint64_t>(waiting);
  return unacknowledged >= sent_ ? 0 : sent_ - unacknowledged;
}

bool NetworkPrinterLink::fail(std::string reason) {
  if (failure_.empty()) {
    failure_ = std::move(reason);
    deliveredAtFailure_ = acknowledged();
  }
  return false;
}

std::uint64_t NetworkPrinterLink::acknowledgedOfThisWrite(std::uint64_t size) {
  const std::uint64_t now = acknowledged();
  return std::min(now > progressBase_ ? now - progressBase_ : 0, size);
}

bool NetworkPrinterLink::send(std::string_view bytes, TransferProgress* progress) {
  if (!failure_.empty()) return false;
  progressBase_ = acknowledged();
  if (progress) progress->begin(bytes.size());
  const auto report = [&] {
    if (progress) progress->advance(acknowledgedOfThisWrite(bytes.size()));
  };
  const std::uint64_t sentBefore = sent_;
  SendWaits waits;
  waits.stall = timeouts_.stall;
  waits.longestWait = kLongestSendWait;
  waits.afterWrite = [&](std::size_t done) {
    sent_ = sentBefore + done;
    report();
  };
  waits.afterWait = report;
  const SendResult result = sendAll(system_, fd_.get(), bytes, SendCall::Send, waits);
  switch (result.end) {
    case SendEnd::AllSent: return true;
    case SendEnd::TimedOut: return fail(tookNoDataText(timeouts_.stall));
    case SendEnd::CallFailed:
    case SendEnd::WaitFailed: break;
  }
  return fail(describeSendFailure(result.error));
}

Delivery NetworkPrinterLink::finish(TransferProgress* progress) {
  Delivery result;
  result.offered = sent_;
  if (!fd_) {
    result.failure = failure_.empty() ? std::string(kAlreadyClosedText) : failure_;
    return result;
  }
  bool printerClosed = false;
  if (failure_.empty()) {
    // Every byte acknowledged, or the job failed: bytes still in the
    // kernel's output queue have not reached the printer, even though every
    // send took them.
    std::uint64_t confirmed = acknowledged();
    Clock::time_point stallDeadline = Clock::now() + timeouts_.stall;
    char discard[512];
    while (confirmed < sent_) {
      pollfd entry{fd_.get(), static_cast<short>(printerClosed ? 0 : POLLIN), 0};
      const int ready = system_.pollOne(entry, static_cast<int>(kAcknowledgementPoll.count()));
      if (ready < 0 && errno != EINTR) {
        fail(describeSendFailure(errno));
        break;
      }
      // An error or a hang-up before the last byte was acknowledged: the
      // connection is gone with bytes still on their way.
      if (ready > 0 && (entry.revents & (POLLERR | POLLHUP)) != 0) {
        int socketError = 0;
        socklen_t size = sizeof socketError;
        system_.getSocketOption(fd_.get(), SOL_SOCKET, SO_ERROR, &socketError, size);
        fail(describeSendFailure(socketError != 0 ? socketError : ECONNRESET));
        break;
      }
      if (ready > 0 && (entry.revents & POLLIN) != 0) {
        // Whatever the printer says (status replies) is not needed here.
        const ssize_t n = retryInterrupted(
            [&] { return system_.receiveSome(fd_.get(), discard, sizeof discard); });
        if (n == 0) printerClosed = true;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
          fail(describeSendFailure(errno));
          break;
        }
      }
      const std::uint64_t now = acknowledged();
      if (now > confirmed) {
        confirmed = now;
        stallDeadline = Clock::now() + timeouts_.stall;
        if (progress) progress->advance(confirmed > progressBase_ ? confirmed - progressBase_ : 0);
      } else if (Clock::now() >= stallDeadline) {
        fail(lastBytesNotTakenText(sent_ - confirmed, timeouts_.stall));
        break;
      }
    }
  }
  if (progress) progress->end();
  if (!failure_.empty()) {
    result.failure = failure_;
    result.delivered = deliveredAtFailure_;
    closeAbortively();
    return result;
  }
  result.delivered = sent_;

  // The job is complete; half-close so that the printer sees its end, and
  // give it a little time to close its side before closing ours.
  system_.shutdownSocket(fd_.get(), SHUT_WR);
  const Clock::time_point closeDeadline = Clock::now() + timeouts_.closeWait;
  char discard[512];
  bool broken = false;
  while (!printerClosed && !broken && Clock::now() < closeDeadline) {
    pollfd entry{fd_.get(), POLLIN, 0};
    const int ready = system_.pollOne(entry, waitMs(closeDeadline, timeouts_.closeWait));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t n =
        retryInterrupted([&] { return system_.receiveSome(fd_.get(), discard, sizeof discard); });
    if (n == 0) printerClosed = true;
    // A reset (or any error) in place of the printer's orderly close: a
    // printer that closes with bytes of the job still unread throws them
    // away, so every byte acknowledged does not mean every byte printed.
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) broken = true;
  }
  fd_.reset();
  if (broken) {
    result.failure = brokeAfterTakingText(sent_);
    result.countKnown = false;
    result.tookAll = Delivery::Taker::Printer;
  }
  return result;
}

}  // namespace tagwright
