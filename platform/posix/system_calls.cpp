#include "platform/posix/system_calls.h"

#include <fcntl.h>
#include <linux/sockios.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
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
int SystemCalls::openSocket(int domain, int type, int protocol) {
  return ::socket(domain, type, protocol);
}
int SystemCalls::connectSocket(int fd, const sockaddr* address, socklen_t size) {
  return ::connect(fd, address, size);
}
int SystemCalls::getSocketOption(int fd, int level, int name, void* value, socklen_t& size) {
  return ::getsockopt(fd, level, name, value, &size);
}
int SystemCalls::setSocketOption(int fd, int level, int name, const void* value, socklen_t size) {
  return ::setsockopt(fd, level, name, value, size);
}
ssize_t SystemCalls::sendSome(int fd, const void* data, std::size_t size) {
  return ::send(fd, data, size, MSG_NOSIGNAL);
}
ssize_t SystemCalls::receiveSome(int fd, void* data, std::size_t size) {
  return ::recv(fd, data, size, 0);
}
int SystemCalls::shutdownSocket(int fd, int how) { return ::shutdown(fd, how); }
int SystemCalls::unacknowledgedBytes(int fd, int& count) { return ::ioctl(fd, SIOCOUTQ, &count); }

SystemCalls& realSystemCalls() {
  static SystemCalls calls;
  return calls;
}

}  // namespace tagwright
