#pragma once

#include <cstdio>
#include <string>

#include "core/util/unique_any.h"

namespace tagwright {

// A C stream, closed when its owner goes.
struct c_file_traits {
  using type = std::FILE*;
  static constexpr std::FILE* invalid() noexcept { return nullptr; }
  static void close(std::FILE* file) noexcept { std::fclose(file); }
};
using unique_c_file = unique_any<c_file_traits>;

inline unique_c_file openCFile(const std::string& path, const char* mode) {
  return unique_c_file(std::fopen(path.c_str(), mode));
}

// Closes now, so that a failed flush of what was written is seen; false
// with errno set when it failed.
inline bool closeCFile(unique_c_file& file) { return std::fclose(file.release()) == 0; }

}  // namespace tagwright
