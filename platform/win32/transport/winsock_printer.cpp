#include "platform/win32/transport/winsock_printer.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <mstcpip.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>

#include "core/text/utf8.h"
#include "core/transport/busy_backoff.h"
#include "platform/win32/transport/socket_wait.h"
#include "platform/win32/transport/winsock_start.h"

namespace tagwright::win32 {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A small, fixed send buffer, and sends no larger than it, bound what the
// system can hold unacknowledged, and so how far the count of a failed job
// may trail what really arrived. Labels are small; a printer is slower than
// the network anyway.
constexpr int kSendBuffer = 16 * 1024;
constexpr std::size_t kLargestSend = 16 * 1024;
// Longest single wait while sending, so that progress is shown meanwhile.
constexpr milliseconds kLongestSendWait{250};
// Keep-alive probes: a printer switched off mid-job is noticed within
// about 25 s of silence instead of the system's two hours.
constexpr ULONG kKeepAliveIdleMs = 10000;
constexpr ULONG kKeepAliveIntervalMs = 5000;

milliseconds timeLeft(Clock::time_point deadline, milliseconds longest) {
  const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now());
  return std::clamp(left, milliseconds(0), longest);
}

void keepAlive(SOCKET socket) {
  const BOOL on = TRUE;
  ::setsockopt(socket, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on);
  tcp_keepalive probes{1, kKeepAliveIdleMs, kKeepAliveIntervalMs};
  DWORD returned = 0;
  ::WSAIoctl(socket, SIO_KEEPALIVE_VALS, &probes, sizeof probes, nullptr, 0, &returned, nullptr,
             nullptr);
}

// One attempt at one address: the connected socket, or none and `failure`.
unique_socket attemptConnect(const ADDRINFOW& address, milliseconds timeout, int& failure) {
  unique_socket socket(::socket(address.ai_family, address.ai_socktype, address.ai_protocol));
  if (!socket) {
    failure = ::WSAGetLastError();
    return {};
  }
  u_long nonBlocking = 1;
  // FIONBIO is an unsigned number that the call takes as a long.
  ::ioctlsocket(socket.get(), static_cast<long>(FIONBIO), &nonBlocking);
  const int sendBuffer = kSendBuffer;
  ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&sendBuffer),
               sizeof sendBuffer);
  if (::connect(socket.get(), address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
    failure = ::WSAGetLastError();
    if (failure != WSAEWOULDBLOCK) return {};
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
      const int ready =
          waitForSocket(socket.get(), SocketReadiness::Write, timeLeft(deadline, timeout));
      if (ready == SOCKET_ERROR) {
        failure = ::WSAGetLastError();
        return {};
      }
      if (ready > 0) break;
      if (Clock::now() >= deadline) {
        failure = WSAETIMEDOUT;
        return {};
      }
    }
    int result = 0;
    int size = sizeof result;
    if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&result), &size) !=
        0) {
      failure = ::WSAGetLastError();
      return {};
    }
    if (result != 0) {
      failure = result;
      return {};
    }
  }
  keepAlive(socket.get());
  return socket;
}

// Every address of the printer in turn; a refusal from any of them wins
// over other failures, since it means a printer is there.
unique_socket connectOnce(const ADDRINFOW* addresses, milliseconds timeout, int& failure) {
  failure = WSAEHOSTUNREACH;
  bool refused = false;
  for (const ADDRINFOW* a = addresses; a != nullptr; a = a->ai_next) {
    unique_socket socket = attemptConnect(*a, timeout, failure);
    if (socket) return socket;
    if (failure == WSAECONNREFUSED) refused = true;
  }
  if (refused) failure = WSAECONNREFUSED;
  return {};
}

// The end of a round of attempts that ended with `failure` (0: connected).
ConnectRoundResult outcomeOf(int failure) {
  if (failure == 0) return ConnectRoundResult::ended(ConnectRound::Connected);
  if (failure == WSAECONNREFUSED) return ConnectRoundResult::ended(ConnectRound::Refused);
  ConnectFailureKind kind = ConnectFailureKind::Other;
  if (failure == WSAETIMEDOUT) kind = ConnectFailureKind::TimedOut;
  if (failure == WSAENETUNREACH || failure == WSAEHOSTUNREACH || failure == WSAEHOSTDOWN) {
    kind = ConnectFailureKind::Unreachable;
  }
  return {ConnectRound::Failed, static_cast<std::uint32_t>(failure), kind,
          systemErrorText(failure)};
}

std::string describeSendFailure(int failure) {
  switch (failure) {
    case WSAECONNRESET:
    case WSAECONNABORTED:
    case WSAENOTCONN:
    case WSAESHUTDOWN: return sendFailureText(SendFailureKind::ClosedByPrinter, {});
    case WSAETIMEDOUT: return sendFailureText(SendFailureKind::TimedOut, {});
    default: return sendFailureText(SendFailureKind::Other, systemErrorText(failure));
  }
}

}  // namespace

unique_socket connectWinsockPrinter(const std::string& portName, const TcpPrinterAddress& address,
                                    const NetworkTimeouts& timeouts, const NoticeFunction& notice,
                                    std::uint32_t& error) {
  // Host names in UTF-16, as Windows keeps them.
  const std::u16string host = utf8ToUtf16(address.host);
  const std::wstring service = std::to_wstring(address.port);
  ADDRINFOW hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  ADDRINFOW* found = nullptr;
  const int resolved = ::GetAddrInfoW(reinterpret_cast<const wchar_t*>(host.c_str()),
                                      service.c_str(), &hints, &found);
  const unique_resource<ADDRINFOW*, &::FreeAddrInfoW> addresses(found);
  const Status lookup =
      resolved == 0 ? Status::success() : Status::failure(systemErrorText(resolved));

  unique_socket socket;
  const auto round = [&] {
    int failure = 0;
    socket = connectOnce(addresses.get(), timeouts.connect, failure);
    return outcomeOf(socket ? 0 : failure);
  };
  connectPrinter(printerPlaceText(portName, address), lookup, round, timeouts, notice, error);
  return socket;
}

WinsockPrinterLink::WinsockPrinterLink(unique_socket socket, const NetworkTimeouts& timeouts)
    : socket_(std::move(socket)), timeouts_(timeouts) {
  // What the system says its send buffer is, if more than was asked for.
  int sendBuffer = 0;
  int size = sizeof sendBuffer;
  if (::getsockopt(socket_.get(), SOL_SOCKET, SO_SNDBUF, reinterpret_cast<char*>(&sendBuffer),
                   &size) != 0) {
    sendBuffer = 0;
  }
  held_ = static_cast<std::uint64_t>(std::max(sendBuffer, kSendBuffer)) + kLargestSend;
}

WinsockPrinterLink::~WinsockPrinterLink() {
  if (socket_) closeAbortively();
}

void WinsockPrinterLink::closeAbortively() {
  // A reset instead of an orderly close: the system drops what it still
  // holds instead of sending it after the job was reported as cut off.
  const linger reset{1, 0};
  ::setsockopt(socket_.get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset),
               sizeof reset);
  socket_.reset();
}

std::uint64_t WinsockPrinterLink::surelyArrived() const {
  return sent_ > held_ ? sent_ - held_ : 0;
}

bool WinsockPrinterLink::fail(std::string reason) {
  if (failure_.empty()) {
    failure_ = std::move(reason);
    deliveredAtFailure_ = surelyArrived();
  }
  return false;
}

bool WinsockPrinterLink::send(std::string_view bytes, TransferProgress* progress) {
  if (!failure_.empty()) return false;
  const std::uint64_t base = surelyArrived();
  lastWriteSize_ = bytes.size();
  if (progress) progress->begin(bytes.size());
  const auto report = [&] {
    if (progress) progress->advance(std::min<std::uint64_t>(surelyArrived() - base, bytes.size()));
  };
  std::size_t done = 0;
  Clock::time_point stallDeadline = Clock::now() + timeouts_.stall;
  while (done < bytes.size()) {
    const int chunk = static_cast<int>(std::min(kLargestSend, bytes.size() - done));
    const int n = ::send(socket_.get(), bytes.data() + done, chunk, 0);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      sent_ += static_cast<std::uint64_t>(n);
      stallDeadline = Clock::now() + timeouts_.stall;
      report();
      continue;
    }
    const int failure = ::WSAGetLastError();
    if (failure != WSAEWOULDBLOCK) return fail(describeSendFailure(failure));
    if (Clock::now() >= stallDeadline) return fail(tookNoDataText(timeouts_.stall));
    if (waitForSocket(socket_.get(), SocketReadiness::Write,
                      timeLeft(stallDeadline, kLongestSendWait)) == SOCKET_ERROR) {
      return fail(describeSendFailure(::WSAGetLastError()));
    }
    report();
  }
  return true;
}

Delivery WinsockPrinterLink::finish(TransferProgress* progress) {
  Delivery result;
  result.offered = sent_;
  if (!socket_) {
    result.failure = failure_.empty() ? std::string(kAlreadyClosedText) : failure_;
    return result;
  }
  if (failure_.empty() && ::shutdown(socket_.get(), SD_SEND) != 0) {
    fail(describeSendFailure(::WSAGetLastError()));
  }
  // The half-close tells the printer the job is whole; its close in answer
  // says that it read every byte, the one acknowledgement that Winsock
  // gives. It may take as long as the printer may stall.
  const Clock::time_point deadline = Clock::now() + timeouts_.stall;
  bool printerClosed = false;
  char discard[512];
  while (failure_.empty() && !printerClosed) {
    if (Clock::now() >= deadline) {
      fail(lastBytesNotTakenText(sent_ - surelyArrived(), timeouts_.stall));
      break;
    }
    const int ready =
        waitForSocket(socket_.get(), SocketReadiness::Read, timeLeft(deadline, timeouts_.stall));
    if (ready == SOCKET_ERROR) {
      fail(describeSendFailure(::WSAGetLastError()));
    } else if (ready > 0) {
      // Whatever the printer says (status replies) is not needed here.
      const int n = ::recv(socket_.get(), discard, sizeof discard, 0);
      if (n == 0) printerClosed = true;
      if (n < 0 && ::WSAGetLastError() != WSAEWOULDBLOCK) {
        fail(describeSendFailure(::WSAGetLastError()));
      }
    }
  }
  if (progress) {
    if (failure_.empty()) progress->advance(lastWriteSize_);
    progress->end();
  }
  const bool failed = !failure_.empty();
  result.failure = failure_;
  result.delivered = failed ? deliveredAtFailure_ : sent_;
  if (failed) {
    closeAbortively();
  } else {
    socket_.reset();
  }
  return result;
}

}  // namespace tagwright::win32
