#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/util/result.h"

namespace tagwright {

// Replaces the file at `path` (UTF-8) with `content` so that the file is at
// every moment either the old one or the new one, whole: the content goes
// to a temporary file in the same directory, is flushed to the disk, and
// the temporary file is then renamed over the old one. Missing parent
// directories are made. On failure the old file is untouched, the
// temporary file is removed, and the message says what failed.
// Implemented in platform/posix and platform/win32.
Status writeFileAtomically(const std::string& path, std::string_view content);

// A file's whole content; no value when there is no such file; the message
// when it exists but cannot be read.
using FileRead = Result<std::optional<std::string>>;

FileRead readWholeFile(const std::string& path);

}  // namespace tagwright
