#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

#include "core/text/code_pages.h"

namespace tagwright {

// Code pages through iconv. The host program names the ANSI and OEM code
// pages; CP1251 and CP866 (a Russian system) are the defaults.
class IconvCodePages final : public CodePages {
 public:
  explicit IconvCodePages(std::string ansi = "CP1251", std::string oem = "CP866");
  ~IconvCodePages() override;
  IconvCodePages(const IconvCodePages&) = delete;
  IconvCodePages& operator=(const IconvCodePages&) = delete;

  std::string toAnsi(std::u16string_view text) const override;
  std::u16string fromAnsi(std::string_view text) const override;
  std::string ansiToOem(std::string_view text) const override;

  const std::string& ansiName() const { return ansi_; }
  const std::string& oemName() const { return oem_; }

 private:
  std::string ansi_;
  std::string oem_;
  // One conversion descriptor a direction; iconv keeps state in them, so the
  // conversions are serialised.
  iconv_t utf16ToAnsi_;
  iconv_t ansiToUtf16_;
  iconv_t ansiToUtf32_;
  iconv_t utf32ToOem_;
};

}  // namespace tagwright
