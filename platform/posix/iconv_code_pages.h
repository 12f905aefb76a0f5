#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/code_pages.h"

namespace tagwright {

// The conversions between UTF-16 and a pair of single-byte code pages (ANSI
// and OEM), taken from iconv once and kept as tables: converting a text is
// then a table look-up per character, with no lock and no allocation per
// character. Tables are built the first time a page is named in the process
// and shared by every IconvCodePages naming it.
class IconvCodePages final : public CodePages {
 public:
  // Throws std::runtime_error when iconv does not know a page, or when a page
  // is not a single-byte one (the printer's text is one byte a character).
  explicit IconvCodePages(std::string ansi = "CP1251", std::string oem = "CP866");

  // UTF-16 to ANSI. A character without a mapping, a surrogate pair (no
  // single-byte page has characters outside the BMP) and a lone surrogate
  // each become one '?'.
  std::string toAnsi(std::u16string_view text) const override;
  std::u16string fromAnsi(std::string_view text) const override;
  std::string ansiToOem(std::string_view text) const override;

  const std::string& ansiName() const { return ansi_; }
  const std::string& oemName() const { return oem_; }

  // One single-byte page as iconv converts it. Unmapped entries hold '?'.
  // A few pages (CP1255, CP1258) write some characters as a base letter and
  // a combining mark: their entries hold kSeveralBytes + an index into
  // `severalBytes`.
  struct PageTables {
    static constexpr std::uint16_t kSeveralBytes = 0x100;
    std::array<char16_t, 256> toUtf16;             // byte to character
    std::array<std::uint16_t, 0x10000> fromUtf16;  // BMP character to byte
    std::vector<std::string> severalBytes;
  };

 private:
  std::string ansi_;
  std::string oem_;
  std::shared_ptr<const PageTables> ansiTables_;
  std::array<char, 256> ansiToOem_{};
};

}  // namespace tagwright
