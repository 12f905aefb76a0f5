#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/posix/atomic_file_posix.h"
#include "platform/posix/send_all.h"
#include "platform/posix/unique_resource.h"

namespace tagwright {
namespace {

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

std::string failureText(const std::string& what, const std::string& path, int error) {
  return what + " " + path + ": " + std::strerror(error);
}

Status failure(const std::string& what, const std::string& path, int error) {
  return Status::failure(failureText(what, path, error));
}

}  // namespace

Status writeFileAtomicallyWith(SystemCalls& calls, const std::string& path,
                               std::string_view content) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  fs::path directory = target.parent_path();
  if (directory.empty()) directory = ".";
  std::error_code ec;
  fs::create_directories(directory, ec);
  if (ec)
    return Status::failure("cannot make the directory " + directory.string() + ": " + ec.message());

  // Keep the permissions of the file being replaced; a new profile is
  // private to its user.
  mode_t mode = S_IRUSR | S_IWUSR;
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

  std::string pattern = (directory / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  unique_fd fd(::mkstemp(name.data()));
  if (!fd) return failure("cannot make a temporary file beside", path, errno);
  TemporaryFile temporary(name.data());

  if (::fchmod(fd.get(), mode) != 0)
    return failure("cannot set the mode of", temporary.path(), errno);
  if (const Status written = writeAll(calls, fd.get(), content); !written) {
    return Status::failure("cannot write " + temporary.path() + ": " + written.error());
  }
  if (calls.syncFile(fd.get()) != 0) return failure("cannot flush", temporary.path(), errno);
  // A close can be the first to notice that delayed writes failed.
  if (!closeFd(fd)) return failure("cannot close", temporary.path(), errno);
  if (calls.renameFile(temporary.path().c_str(), path.c_str()) != 0) {
    return failure("cannot replace", path, errno);
  }
  temporary.keep();
  // Make the rename itself durable; a failure here no longer risks the
  // file's content, so it is not reported.
  const unique_fd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.get());
  return Status::success();
}

Status writeFileAtomically(const std::string& path, std::string_view content) {
  return writeFileAtomicallyWith(realSystemCalls(), path, content);
}

FileRead readWholeFile(const std::string& path) {
  const unique_fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    if (errno == ENOENT) return std::optional<std::string>();
    return FileRead::failure(failureText("cannot read", path, errno));
  }
  std::string content;
  char buffer[8192];
  for (;;) {
    const ssize_t n = retryInterrupted([&] { return ::read(fd.get(), buffer, sizeof buffer); });
    if (n < 0) return FileRead::failure(failureText("cannot read", path, errno));
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  return std::optional<std::string>(std::move(content));
}

}  // namespace tagwright
