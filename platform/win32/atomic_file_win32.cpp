#include <windows.h>

#include <filesystem>
#include <string>

#include "core/text/utf8.h"
#include "platform/atomic_file.h"
#include "platform/win32/unique_resource.h"
#include "platform/win32/wide_text.h"

namespace tagwright {
namespace {

std::string systemMessage(DWORD code) { return "system error " + std::to_string(code); }

}  // namespace

// The same guarantee as on POSIX: write a temporary file beside the target,
// flush it, then move it over the target in one step.
Status writeFileAtomically(const std::string& path, std::string_view content) {
  namespace fs = std::filesystem;
  const fs::path target(win32::utf8ToWide(path));
  std::error_code ec;
  if (!target.parent_path().empty()) fs::create_directories(target.parent_path(), ec);
  if (ec) return Status::failure("cannot make the directory of " + path + ": " + ec.message());
  const std::wstring temporary =
      target.wstring() + L".tmp" + std::to_wstring(::GetCurrentProcessId());
  {
    win32::unique_file_handle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
      return Status::failure("cannot make a temporary file beside " + path + ": " +
                             systemMessage(::GetLastError()));
    std::size_t done = 0;
    while (done < content.size()) {
      DWORD written = 0;
      const DWORD chunk =
          static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 20));
      if (!::WriteFile(file.get(), content.data() + done, chunk, &written, nullptr) ||
          written == 0) {
        const DWORD error = ::GetLastError();
        file.reset();
        ::DeleteFileW(temporary.c_str());
        return Status::failure("cannot write beside " + path + ": " + systemMessage(error));
      }
      done += written;
    }
    if (!::FlushFileBuffers(file.get())) {
      const DWORD error = ::GetLastError();
      file.reset();
      ::DeleteFileW(temporary.c_str());
      return Status::failure("cannot flush beside " + path + ": " + systemMessage(error));
    }
  }
  if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = ::GetLastError();
    ::DeleteFileW(temporary.c_str());
    return Status::failure("cannot replace " + path + ": " + systemMessage(error));
  }
  return Status::success();
}

FileRead readWholeFile(const std::string& path) {
  win32::unique_file_handle file(::CreateFileW(win32::utf8ToWide(path).c_str(), GENERIC_READ,
                                               FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      return std::optional<std::string>();
    }
    return FileRead::failure("cannot read " + path + ": " + systemMessage(error));
  }
  std::string content;
  char buffer[8192];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
      return FileRead::failure("cannot read " + path + ": " + systemMessage(::GetLastError()));
    }
    if (got == 0) break;
    content.append(buffer, got);
  }
  return std::optional<std::string>(std::move(content));
}

}  // namespace tagwright
