#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/output/output_file_sink.h"
#include "platform/posix/send_all.h"
#include "platform/posix/unique_resource.h"

namespace tagwright::cli {

void OutputFileSink::queue(PrintJob job) {
  Status written = Status::success();
  if (path_ == "-") {
    written = writeAll(realSystemCalls(), STDOUT_FILENO, job.text);
  } else {
    unique_fd fd(::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
    if (!fd) {
      written = Status::failure(std::strerror(errno));
    } else {
      written = writeAll(realSystemCalls(), fd.get(), job.text);
      if (!closeFd(fd) && written) written = Status::failure(std::strerror(errno));
    }
  }
  if (written) {
    ++tally_.written;
  } else {
    ++tally_.dropped;
    errors_ << "tagwright: a print job of " << job.text.size() << " bytes was not written to "
            << (path_ == "-" ? std::string("standard output") : path_) << ": " << written.error()
            << '\n';
  }
}

}  // namespace tagwright::cli
