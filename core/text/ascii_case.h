#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace tagwright {

// `text` with its ASCII letters in upper case and every other byte as it
// was: port names, code-page names and other names compared without case.
inline std::string asciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace tagwright
