#include "virtual_printer/file_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tagwright::cli::printer {

FileInput::FileInput(unique_fd fd, std::string path, bool pipe, bool ownsFd)
    : fd_(std::move(fd)), path_(std::move(path)), pipe_(pipe), ownsFd_(ownsFd) {}

Result<std::unique_ptr<FileInput>> FileInput::open(const std::string& path, PrinterLog&) {
  using Opened = Result<std::unique_ptr<FileInput>>;
  if (path == "-") {
    return std::unique_ptr<FileInput>(new FileInput(unique_fd(STDIN_FILENO), path, false, false));
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return Opened::failure("--input " + path + ": " + std::strerror(errno));
  }
  const bool pipe = S_ISFIFO(info.st_mode);
  // A pipe opened without waiting: a writer may come at any time.
  unique_fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | (pipe ? O_NONBLOCK : 0)));
  if (!fd) return Opened::failure("--input " + path + ": " + std::strerror(errno));
  return std::unique_ptr<FileInput>(new FileInput(std::move(fd), path, pipe, true));
}

void FileInput::pollEntries(std::vector<WaitEntry>& entries, int& retryAfterMs) {
  if (pipe_) {
    entries.push_back(WaitEntry{fd_.get()});
  } else {
    retryAfterMs = 0;  // a file is read straight on
  }
}

FileInput::~FileInput() {
  if (!ownsFd_) static_cast<void>(fd_.release());  // standard input stays open
}

bool FileInput::reopenPipe() {
  fd_.reset(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  return static_cast<bool>(fd_);
}

bool FileInput::serve(const std::vector<WaitEntry>& entries, std::size_t first,
                      PrinterEngine& engine, PrinterClock::time_point now) {
  if (pipe_ && (first >= entries.size() || !entries[first].ready())) return true;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd_.get(), buffer, sizeof buffer);
    if (got > 0) {
      engine.receive(std::string_view(buffer, static_cast<std::size_t>(got)), now, false);
      if (!pipe_) return true;  // one piece per turn, so a stop is seen
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && errno == EAGAIN) return true;
    // The end of the file, or of this writer.
    if (engine.endJob(now)) ++jobsEnded_;
    if (!pipe_) {
      return false;
    }
    return reopenPipe();
  }
}

}  // namespace tagwright::cli::printer
