#pragma once

#include <poll.h>
#include <sys/types.h>
#include <termios.h>

#include <cstddef>

namespace tagwright {

// The system calls of the POSIX port layer, one virtual function each, so
// that a test can make any of them fail (EINTR, EBUSY, a failed ioctl, a
// short write) without a device that does so. Each one behaves exactly as
// the call it wraps: -1 and errno on failure.
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
};

// The calls as the system makes them.
SystemCalls& realSystemCalls();

}  // namespace tagwright
