// The printer's wake-up on Windows: WSAPoll waits on sockets only, so the
// "pipe" is a pair of sockets connected over loopback; the console's
// control events (Ctrl+C, Ctrl+Break, its closing) write to it as the
// POSIX signals do.
#include <atomic>

#include "platform/win32/unique_resource.h"
#include "virtual_printer/wake_pipe.h"

namespace tagwright::cli::printer {
namespace {

std::atomic<SOCKET> eventWriteEnd{INVALID_SOCKET};
std::atomic<DWORD> lastEvent{0};
// 0 means none: Ctrl+C is event 0, so each event is kept one above its number.
constexpr DWORD kEventOffset = 1;

void sendWakeByte(SOCKET socket) {
  const char byte = 0;
  static_cast<void>(::send(socket, &byte, 1, 0));
}

BOOL WINAPI forwardEvent(DWORD event) {
  lastEvent = event + kEventOffset;
  const SOCKET socket = eventWriteEnd.load();
  if (socket != INVALID_SOCKET) sendWakeByte(socket);
  return TRUE;
}

SOCKET socketOf(const unique_wait_handle& handle) { return static_cast<SOCKET>(handle.get()); }

sockaddr_in loopbackAddress() {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool sameAddress(const sockaddr_in& a, const sockaddr_in& b) {
  return a.sin_port == b.sin_port && a.sin_addr.s_addr == b.sin_addr.s_addr;
}

}  // namespace

// A listener on a free loopback port takes one connection from this
// process's own socket, then goes; the accepted end must be that socket's
// peer, or someone else came first and there is no pair.
WakePipe::WakePipe() {
  const unique_wait_handle listener(static_cast<WaitHandle>(::socket(AF_INET, SOCK_STREAM, 0)));
  if (!listener) return;
  sockaddr_in address = loopbackAddress();
  int size = sizeof address;
  if (::bind(socketOf(listener), reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      ::listen(socketOf(listener), 1) != 0 ||
      ::getsockname(socketOf(listener), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    return;
  }
  unique_wait_handle writer(static_cast<WaitHandle>(::socket(AF_INET, SOCK_STREAM, 0)));
  if (!writer ||
      ::connect(socketOf(writer), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    return;
  }
  sockaddr_in peer{};
  int peerSize = sizeof peer;
  unique_wait_handle reader(static_cast<WaitHandle>(
      ::accept(socketOf(listener), reinterpret_cast<sockaddr*>(&peer), &peerSize)));
  sockaddr_in writerAddress{};
  int writerSize = sizeof writerAddress;
  if (!reader ||
      ::getsockname(socketOf(writer), reinterpret_cast<sockaddr*>(&writerAddress), &writerSize) !=
          0 ||
      !sameAddress(peer, writerAddress)) {
    return;
  }
  u_long on = 1;
  if (::ioctlsocket(socketOf(reader), static_cast<long>(FIONBIO), &on) != 0 ||
      ::ioctlsocket(socketOf(writer), static_cast<long>(FIONBIO), &on) != 0) {
    return;
  }
  read_ = std::move(reader);
  write_ = std::move(writer);
}

void WakePipe::stop() const { sendWakeByte(static_cast<SOCKET>(write_.get())); }

std::string WakePipe::signalSeen() const {
  const DWORD seen = lastEvent.load();
  if (seen == 0) return {};
  switch (seen - kEventOffset) {
    case CTRL_C_EVENT: return "interrupted (Ctrl+C)";
    case CTRL_BREAK_EVENT: return "interrupted (Ctrl+Break)";
    default: return "terminated (the console is closing)";
  }
}

// Console handlers stack: removing this one brings back whatever was there.
struct SignalStop::Previous {};

SignalStop::SignalStop(WakePipe& pipe) : previous_(std::make_unique<Previous>()) {
  lastEvent = 0;
  eventWriteEnd = static_cast<SOCKET>(pipe.write_.get());
  ::SetConsoleCtrlHandler(forwardEvent, TRUE);
}

SignalStop::~SignalStop() {
  ::SetConsoleCtrlHandler(forwardEvent, FALSE);
  eventWriteEnd = INVALID_SOCKET;
}

}  // namespace tagwright::cli::printer
