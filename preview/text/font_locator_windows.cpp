#include <windows.h>

#include <filesystem>
#include <string>

#include "preview/text/font_locator.h"
#include "preview/util/utf8_path.h"

namespace tagwright::preview {
namespace {

constexpr const wchar_t* kFontFile = L"LiberationSans-Regular.ttf";

// The folder of the running program, or empty.
std::filesystem::path programFolder() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    // A name that filled the buffer may have been cut short.
    if (length < name.size()) {
      name.resize(length);
      return std::filesystem::path(name).parent_path();
    }
    if (name.size() >= 32768) return {};
    name.resize(name.size() * 2);
  }
}

}  // namespace

std::string findDefaultFontFile() {
  const std::filesystem::path folder = programFolder();
  if (folder.empty()) return {};
  const std::filesystem::path font = folder / kFontFile;
  std::error_code error;
  return std::filesystem::is_regular_file(font, error) ? utf8FromPath(font) : std::string();
}

std::string missingDefaultFontAdvice() {
  return "LiberationSans-Regular.ttf is not beside the program, where the build puts it "
         "(copy it there, or name a font file)";
}

}  // namespace tagwright::preview
