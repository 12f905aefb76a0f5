#pragma once

#include <windows.h>

#include <string>

namespace tagwright::com {

// The full path of a loaded module file, however long; empty when the
// system cannot tell. Throws std::bad_alloc.
inline std::wstring modulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    // A full buffer may mean a cut path: try again with more room.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace tagwright::com
