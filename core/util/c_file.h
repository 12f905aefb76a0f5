#pragma once

#include <cstdio>
#include <string>

#include "core/util/unique_any.h"

#ifdef _WIN32
#include "core/text/utf8.h"
#endif

namespace tagwright {

// A C stream, closed when its owner goes.
struct c_file_traits {
  using type = std::FILE*;
  static constexpr std::FILE* invalid() noexcept { return nullptr; }
  static void close(std::FILE* file) noexcept { std::fclose(file); }
};
using unique_c_file = unique_any<c_file_traits>;

// Opens the file named by `path` in UTF-8. Windows' fopen reads names in the
// ANSI code page, which cannot name every file; _wfopen takes them whole.
inline unique_c_file openCFile(const std::string& path, const char* mode) {
#ifdef _WIN32
  const std::u16string name = utf8ToUtf16(path);
  const std::u16string wideMode = utf8ToUtf16(mode);
  return unique_c_file(::_wfopen(reinterpret_cast<const wchar_t*>(name.c_str()),
                                 reinterpret_cast<const wchar_t*>(wideMode.c_str())));
#else
  return unique_c_file(std::fopen(path.c_str(), mode));
#endif
}

// Closes now, so that a failed flush of what was written is seen; false
// with errno set when it failed.
inline bool closeCFile(unique_c_file& file) { return std::fclose(file.release()) == 0; }

}  // namespace tagwright
