#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tagwright::preview {

// File names are UTF-8 inside the program. std::filesystem takes a plain
// string in the system's narrow encoding, which on Windows is the ANSI code
// page; these go through char8_t so that every name means the same file
// on both systems.
inline std::filesystem::path pathFromUtf8(std::string_view name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

inline std::string utf8FromPath(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

// Whether `name` is a regular file (following links); no error is raised.
inline bool isRegularFile(std::string_view name) {
  std::error_code error;
  return std::filesystem::is_regular_file(pathFromUtf8(name), error);
}

}  // namespace tagwright::preview
