#pragma once

#include <string>
#include <string_view>

#include "core/text/code_pages.h"

namespace tagwright {

// Conversions through two named Windows code pages, as tagwright.exe's
// --ansi and --oem give them ("CP1251", "WINDOWS-1251", "IBM866", "866"),
// for the core linked into the program. Unmapped characters become '?', as
// they do on Linux. The DLL converts through the system's own pages instead
// (Win32CodePages).
class Win32NamedCodePages final : public CodePages {
 public:
  // Throws std::runtime_error for a name that is not a code page this
  // system has, or not a single-byte one.
  Win32NamedCodePages(const std::string& ansi, const std::string& oem);

  std::string toAnsi(std::u16string_view text) const override;
  std::u16string fromAnsi(std::string_view text) const override;
  std::string ansiToOem(std::string_view text) const override;

 private:
  unsigned ansi_;
  unsigned oem_;
};

// The code page number a name stands for, or 0.
unsigned codePageNumber(std::string_view name);

}  // namespace tagwright
