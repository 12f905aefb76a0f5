#include "platform/posix/transport/system_calls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

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

SystemCalls& realSystemCalls() {
  static SystemCalls calls;
  return calls;
}

}  // namespace tagwright
