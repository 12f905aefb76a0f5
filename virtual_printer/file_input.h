#pragma once

#include <memory>
#include <string>
#include <vector>

#include "virtual_printer/printer_input.h"
#include "virtual_printer/printer_log.h"
#include "core/util/result.h"
#include "platform/posix/unique_resource.h"

namespace tagwright::cli::printer {

// Jobs read from a named pipe (each writer's bytes, open to close, are one
// job, and the pipe waits for the next writer), or one job from a file or
// standard input ("-"), after which the input ends. Status queries cannot
// be answered here: there is no way back.
class FileInput final : public PrinterInput {
 public:
  static Result<std::unique_ptr<FileInput>> open(const std::string& path, PrinterLog& log);
  ~FileInput() override;
  FileInput(const FileInput&) = delete;
  FileInput& operator=(const FileInput&) = delete;

  std::string kind() const override { return pipe_ ? "named pipe" : "file"; }
  std::string where() const override { return path_ == "-" ? "standard input" : path_; }
  void pollEntries(std::vector<WaitEntry>& entries, int& retryAfterMs) override;
  bool serve(const std::vector<WaitEntry>& entries, std::size_t first, PrinterEngine& engine,
             PrinterClock::time_point now) override;
  int jobsEnded() const override { return jobsEnded_; }

 private:
  FileInput(unique_fd fd, std::string path, bool pipe, bool ownsFd);
  bool reopenPipe();

  unique_fd fd_;
  std::string path_;
  bool pipe_;
  bool ownsFd_;  // standard input is borrowed
  int jobsEnded_ = 0;
};

}  // namespace tagwright::cli::printer
