#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/posix/atomic_file_posix.h"

namespace tagwright {
namespace {

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the result: a close can be the first to notice
  // that delayed writes failed.
  int close() {
    const int result = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return result;
  }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::string& path() const { return path_; }
  void keep() { path_.clear(); }

 private:
  std::string path_;
};

std::string failure(const std::string& what, const std::string& path, int error) {
  return what + " " + path + ": " + std::strerror(error);
}

}  // namespace

std::optional<std::string> writeFileAtomicallyWith(SystemCalls& calls, const std::string& path,
                                                   std::string_view content) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  fs::path directory = target.parent_path();
  if (directory.empty()) directory = ".";
  std::error_code ec;
  fs::create_directories(directory, ec);
  if (ec) return "cannot make the directory " + directory.string() + ": " + ec.message();

  // Keep the permissions of the file being replaced; a new profile is
  // private to its user.
  mode_t mode = S_IRUSR | S_IWUSR;
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

  std::string pattern = (directory / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  UniqueFd fd(::mkstemp(name.data()));
  if (fd.get() < 0) return failure("cannot make a temporary file beside", path, errno);
  TemporaryFile temporary(name.data());

  if (::fchmod(fd.get(), mode) != 0)
    return failure("cannot set the mode of", temporary.path(), errno);
  if (const int error = writeAll(calls, fd.get(), content); error != 0) {
    return failure("cannot write", temporary.path(), error);
  }
  if (calls.syncFile(fd.get()) != 0) return failure("cannot flush", temporary.path(), errno);
  if (fd.close() != 0) return failure("cannot close", temporary.path(), errno);
  if (calls.renameFile(temporary.path().c_str(), path.c_str()) != 0) {
    return failure("cannot replace", path, errno);
  }
  temporary.keep();
  // Make the rename itself durable; a failure here no longer risks the
  // file's content, so it is not reported.
  UniqueFd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return std::nullopt;
}

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content) {
  return writeFileAtomicallyWith(realSystemCalls(), path, content);
}

FileRead readWholeFile(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return std::optional<std::string>();
    return FileRead::failure(failure("cannot read", path, errno));
  }
  std::string content;
  char buffer[8192];
  for (;;) {
    const ssize_t n = retryInterrupted([&] { return ::read(fd.get(), buffer, sizeof buffer); });
    if (n < 0) return FileRead::failure(failure("cannot read", path, errno));
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  return std::optional<std::string>(std::move(content));
}

}  // namespace tagwright
