#include "designer/script_document.h"

#include "platform/atomic_file.h"

namespace tagwright::designer {

Result<ScriptDocument> ScriptDocument::load(const std::string& path) {
  FileRead read = readWholeFile(path);
  if (!read) return Result<ScriptDocument>::failure(read.error());
  const bool existed = read.value().has_value();
  return ScriptDocument(path, existed ? std::move(*read.value()) : std::string(), existed);
}

Status ScriptDocument::save(std::string_view content) {
  FileRead now = readWholeFile(path_);
  if (!now) return Status::failure(now.error());
  // The whole content is compared, not the time stamp: a change within the
  // same second, or an editor that keeps the time, is still seen.
  const bool unchanged = now.value() ? existed_ && *now.value() == text_ : !existed_;
  if (!unchanged) {
    return Status::failure(path_ +
                           " changed on disk since it was loaded: not saved (reload the page to "
                           "start from the file, or copy your text first)");
  }
  // A browser's text box has LF line ends only: a file written with CR LF
  // keeps them.
  std::string bytes(content);
  if (text_.find("\r\n") != std::string::npos && bytes.find('\r') == std::string::npos) {
    for (std::size_t at = bytes.find('\n'); at != std::string::npos;
         at = bytes.find('\n', at + 2)) {
      bytes.insert(at, 1, '\r');
    }
  }
  if (Status written = writeFileAtomically(path_, bytes); !written) return written;
  text_ = std::move(bytes);
  existed_ = true;
  return Status::success();
}

}  // namespace tagwright::designer
