#pragma once

#include <string>
#include <string_view>

#include "core/util/result.h"

namespace tagwright::designer {

// The one file the designer may write: the script named on the command
// line, as it was when it was loaded (or last saved). A file that does not
// exist yet loads as an empty script and is made by the first save.
class ScriptDocument {
 public:
  static Result<ScriptDocument> load(const std::string& path);

  const std::string& path() const { return path_; }
  // As the file holds it (the page turns CR LF into LF itself).
  const std::string& text() const { return text_; }

  // Replaces the file with `content` atomically, unless someone else
  // changed it since it was loaded or last saved: then the file is left
  // alone and the message says so.
  Status save(std::string_view content);

 private:
  ScriptDocument(std::string path, std::string text, bool existed)
      : path_(std::move(path)), text_(std::move(text)), existed_(existed) {}

  std::string path_;
  std::string text_;  // what the file held when last read or written
  bool existed_;
};

}  // namespace tagwright::designer
