#pragma once

#include <string>

namespace tagwright::preview {

// The default font of the preview is Liberation Sans Regular, found where
// each system keeps it: through fontconfig (else Debian's path) on Linux,
// beside the running program on Windows, where the build puts the file
// with its license. One implementation per system:
// font_locator_fontconfig.cpp, font_locator_windows.cpp.

// The default font's file, or empty when it is not where it is looked for.
std::string findDefaultFontFile();

// Why there is no default font and what to do, for the message when
// findDefaultFontFile finds none.
std::string missingDefaultFontAdvice();

}  // namespace tagwright::preview
