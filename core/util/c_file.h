#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace tagwright {

// A C stream, closed when its owner goes.
struct CFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueCFile = std::unique_ptr<std::FILE, CFileCloser>;

inline UniqueCFile openCFile(const std::string& path, const char* mode) {
  return UniqueCFile(std::fopen(path.c_str(), mode));
}

// Closes now, so that a failed flush of what was written is seen; false
// with errno set when it failed.
inline bool closeCFile(UniqueCFile& file) { return std::fclose(file.release()) == 0; }

}  // namespace tagwright
