#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <termios.h>

#include <cerrno>
#include <cstddef>

namespace tagwright {

// The system calls of the POSIX code (the port layer, the file replacement,
// the sends of the status queries and of the virtual printer), one virtual
// function each, so that a test can make any of
// them fail (EINTR, EBUSY, a failed ioctl, a short write, a full disk)
// without a device or a disk that does so. Each one behaves exactly as the
// call it wraps: -1 and errno on failure.
class SystemCalls {
 public:
  virtual ~SystemCalls() = default;
  virtual int openFile(const char* path, int flags);
  virtual int closeFile(int fd);
  virtual int lockFile(int fd, int operation);  // flock
  virtual bool isTerminal(int fd);
  virtual int getModemBits(int fd, int& bits);  // TIOCMGET
  virtual int setExclusive(int fd, bool on);    // TIOCEXCL, TIOCNXCL
  virtual int startBreak(int fd);               // TIOCSBRK
  virtual int getAttributes(int fd, termios& attributes);
  virtual int setAttributes(int fd, const termios& attributes);
  virtual int flushQueues(int fd, int queues);  // tcflush
  virtual ssize_t writeSome(int fd, const void* data, std::size_t size);
  virtual int pollOne(pollfd& entry, int timeoutMs);
  virtual int syncFile(int fd);  // fsync
  virtual int renameFile(const char* from, const char* to);

  // Sockets of the network printer port.
  virtual int openSocket(int domain, int type, int protocol);
  virtual int connectSocket(int fd, const sockaddr* address, socklen_t size);
  virtual int getSocketOption(int fd, int level, int name, void* value, socklen_t& size);
  virtual int setSocketOption(int fd, int level, int name, const void* value, socklen_t size);
  // send() without SIGPIPE: a printer that went away is an EPIPE, not the
  // end of the program.
  virtual ssize_t sendSome(int fd, const void* data, std::size_t size);
  virtual ssize_t receiveSome(int fd, void* data, std::size_t size);
  virtual int shutdownSocket(int fd, int how);
  // SIOCOUTQ: bytes sent that the other end has not acknowledged yet.
  virtual int unacknowledgedBytes(int fd, int& count);
};

// The calls as the system makes them.
SystemCalls& realSystemCalls();

// Makes `call` again while a signal interrupts it (-1 with EINTR). Not for
// close(): the descriptor is gone either way.
template <typename Call>
auto retryInterrupted(Call call) {
  for (;;) {
    auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

}  // namespace tagwright
