#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/output/output_file_sink.h"

namespace tagwright::cli {
namespace {

bool writeAll(int fd, const std::string& text, int& error) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

void OutputFileSink::queue(PrintJob job) {
  int error = 0;
  bool ok = false;
  if (path_ == "-") {
    ok = writeAll(STDOUT_FILENO, job.text, error);
  } else {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
      error = errno;
    } else {
      ok = writeAll(fd, job.text, error);
      if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
      }
    }
  }
  if (ok) {
    ++tally_.written;
  } else {
    ++tally_.dropped;
    errors_ << "tagwright: a print job of " << job.text.size() << " bytes was not written to "
            << (path_ == "-" ? std::string("standard output") : path_) << ": "
            << std::strerror(error) << '\n';
  }
}

}  // namespace tagwright::cli
