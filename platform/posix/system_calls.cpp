#include "platform/posix/system_calls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>  // rename

namespace tagwright {

int SystemCalls::openFile(const char* path, int flags) { return ::open(path, flags); }
int SystemCalls::closeFile(int fd) { return ::close(fd); }
int SystemCalls::lockFile(int fd, int operation) { return ::flock(fd, operation); }
bool SystemCalls::isTerminal(int fd) { return ::isatty(fd) == 1; }
int SystemCalls::getModemBits(int fd, int& bits) { return ::ioctl(fd, TIOCMGET, &bits); }
int SystemCalls::setExclusive(int fd, bool on) { return ::ioctl(fd, on ? TIOCEXCL : TIOCNXCL); }
int SystemCalls::startBreak(int fd) { return ::ioctl(fd, TIOCSBRK); }
int SystemCalls::getAttributes(int fd, termios& attributes) { return ::tcgetattr(fd, &attributes); }
int SystemCalls::setAttributes(int fd, const termios& attributes) {
  return ::tcsetattr(fd, TCSANOW, &attributes);
}
int SystemCalls::flushQueues(int fd, int queues) { return ::tcflush(fd, queues); }
ssize_t SystemCalls::writeSome(int fd, const void* data, std::size_t size) {
  return ::write(fd, data, size);
}
int SystemCalls::pollOne(pollfd& entry, int timeoutMs) { return ::poll(&entry, 1, timeoutMs); }
int SystemCalls::syncFile(int fd) { return ::fsync(fd); }
int SystemCalls::renameFile(const char* from, const char* to) { return ::rename(from, to); }

SystemCalls& realSystemCalls() {
  static SystemCalls calls;
  return calls;
}

int writeAll(SystemCalls& calls, int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = retryInterrupted(
        [&] { return calls.writeSome(fd, bytes.data() + done, bytes.size() - done); });
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

}  // namespace tagwright
