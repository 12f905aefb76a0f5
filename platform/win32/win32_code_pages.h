#pragma once

#include <string>
#include <string_view>

#include "core/text/code_pages.h"

namespace tagwright {

// Code pages of the running Windows system: the calling thread's ANSI code
// page for host text, and the system's ANSI-to-OEM conversion for the lines
// that the printer reads in the OEM code page.
class Win32CodePages final : public CodePages {
 public:
  std::string toAnsi(std::u16string_view text) const override;
  std::u16string fromAnsi(std::string_view text) const override;
  std::string ansiToOem(std::string_view text) const override;
};

}  // namespace tagwright
