#pragma once

#include <string>
#include <string_view>

namespace tagwright {

// Conversion between the host's UTF-16 text and the single-byte code pages
// of the printer: the ANSI code page (Windows-1251 on Russian systems) and
// the OEM code page (866). On Windows these are the thread's ANSI code page
// and the system's OEM conversion; on POSIX they are chosen by the host
// program.
class CodePages {
 public:
  virtual ~CodePages() = default;
  // UTF-16 to ANSI; characters without a mapping become '?'.
  virtual std::string toAnsi(std::u16string_view text) const = 0;
  // ANSI to UTF-16, for showing single-byte texts to a user.
  virtual std::u16string fromAnsi(std::string_view text) const = 0;
  // ANSI to OEM, byte for byte; characters without a mapping become '?'.
  virtual std::string ansiToOem(std::string_view text) const = 0;
};

}  // namespace tagwright
