#include "windows/page/dialog_template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tagwright::com {
namespace {

// Builds an extended dialog template field by field.
class TemplateBytes {
 public:
  TemplateBytes& word(std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
  }
  TemplateBytes& dword(std::uint32_t v) {
    word(static_cast<std::uint16_t>(v & 0xFFFF));
    return word(static_cast<std::uint16_t>(v >> 16));
  }
  TemplateBytes& byte(std::uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  TemplateBytes& text(const std::wstring& t) {
    for (wchar_t c : t) word(static_cast<std::uint16_t>(c));
    return word(0);
  }
  std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> pageTemplate(std::uint32_t style = DS_SETFONT | DS_CONTROL | WS_CHILD,
                                       std::uint16_t signature = 0xFFFF) {
  TemplateBytes t;
  t.word(1).word(signature).dword(0).dword(0).dword(style).word(0);
  t.word(0).word(0).word(260).word(254);
  t.word(0xFFFF).word(7);  // menu by ordinal
  t.text(L"PageClass");    // class by name
  t.text(L"");             // no caption
  t.word(8).word(FW_NORMAL).byte(0).byte(RUSSIAN_CHARSET).text(L"MS Sans Serif");
  return t.bytes;
}

TEST(DialogTemplate, ReadsSizeAndFontPastMenuClassAndCaption) {
  const auto bytes = pageTemplate();
  const auto info = readDialogTemplate(bytes);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->width, 260);
  EXPECT_EQ(info->height, 254);
  EXPECT_EQ(info->pointSize, 8);
  EXPECT_EQ(info->weight, FW_NORMAL);
  EXPECT_FALSE(info->italic);
  EXPECT_EQ(info->charset, RUSSIAN_CHARSET);
  EXPECT_EQ(info->fontName, L"MS Sans Serif");
}

TEST(DialogTemplate, RefusesTemplatesItCannotMeasure) {
  EXPECT_FALSE(readDialogTemplate(pageTemplate(DS_CONTROL | WS_CHILD)).has_value())
      << "no font named";
  EXPECT_FALSE(readDialogTemplate(pageTemplate(DS_SETFONT, 0)).has_value())
      << "not the extended form";
  const auto whole = pageTemplate();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
    EXPECT_FALSE(readDialogTemplate(cut).has_value()) << "cut to " << size << " bytes";
  }
}

}  // namespace
}  // namespace tagwright::com
