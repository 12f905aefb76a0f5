#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tagwright::cli {

// The system calls of an atomic replace, behind a seam so that tests can
// make a write fail half way (a full disk), come back short, or be
// interrupted, and see that the old file survives.
class FileCalls {
 public:
  virtual ~FileCalls() = default;
  virtual ssize_t write(int fd, const void* data, std::size_t size) const;
  virtual int fsync(int fd) const;
  virtual int rename(const char* from, const char* to) const;
};

std::optional<std::string> writeFileAtomicallyWith(const FileCalls& calls, const std::string& path,
                                                   std::string_view content);

}  // namespace tagwright::cli
