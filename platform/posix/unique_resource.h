#pragma once

#include <netdb.h>
#include <unistd.h>

#include "core/util/unique_any.h"
#include "platform/posix/system_calls.h"

namespace tagwright {

// Owners of POSIX resources, on the portable owner of the core.

// A file descriptor, closed with close().
struct fd_traits {
  using type = int;
  static constexpr int invalid() noexcept { return -1; }
  static void close(int fd) noexcept { ::close(fd); }
};
using unique_fd = unique_any<fd_traits>;

// Closes now, so that an error only the close reports (delayed writes that
// failed) is seen; false with errno set when it failed.
inline bool closeFd(unique_fd& fd) { return !fd || ::close(fd.release()) == 0; }

// A descriptor opened through a SystemCalls table, closed through it too,
// so that a test's calls see the whole life of what they opened.
class system_fd_traits {
 public:
  using type = int;
  explicit system_fd_traits(SystemCalls& calls) noexcept : calls_(&calls) {}
  static constexpr int invalid() noexcept { return -1; }
  void close(int fd) const noexcept { calls_->closeFile(fd); }

 private:
  SystemCalls* calls_;
};
using unique_system_fd = unique_any<system_fd_traits>;

inline unique_system_fd ownThrough(SystemCalls& calls, int fd) {
  return unique_system_fd(fd, system_fd_traits(calls));
}

// The address list of getaddrinfo().
using unique_addrinfo = unique_resource<addrinfo*, &::freeaddrinfo>;

}  // namespace tagwright
