#include "windows/page/dialog_template.h"

#include <cstring>

#include "platform/win32/unique_resource.h"

namespace tagwright::com {

namespace {

// Reads the template field by field, never past its end.
class TemplateReader {
 public:
  explicit TemplateReader(std::span<const std::uint8_t> data) : data_(data) {}

  template <typename T>
  std::optional<T> read() {
    if (data_.size() - offset_ < sizeof(T)) return std::nullopt;
    T value;
    std::memcpy(&value, data_.data() + offset_, sizeof(T));
    offset_ += sizeof(T);
    return value;
  }

  // A zero-terminated UTF-16 text.
  std::optional<std::wstring> readText() {
    std::wstring text;
    while (auto unit = read<std::uint16_t>()) {
      if (*unit == 0) return text;
      text.push_back(static_cast<wchar_t>(*unit));
    }
    return std::nullopt;
  }

  // A menu or class field: none (0), an ordinal (0xFFFF and a number) or a
  // name.
  bool skipNameOrOrdinal() {
    auto first = read<std::uint16_t>();
    if (!first) return false;
    if (*first == 0) return true;
    if (*first == 0xFFFF) return read<std::uint16_t>().has_value();
    offset_ -= sizeof(std::uint16_t);
    return readText().has_value();
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t offset_ = 0;
};

void deleteFont(HFONT font) { ::DeleteObject(font); }
using unique_font = win32::unique_resource<HFONT, &deleteFont>;

// The screen's device context, for measuring the dialog's font.
void releaseScreenContext(HDC dc) { ::ReleaseDC(nullptr, dc); }
using unique_screen_context = win32::unique_resource<HDC, &releaseScreenContext>;

}  // namespace

std::optional<DialogTemplateInfo> readDialogTemplate(std::span<const std::uint8_t> data) {
  TemplateReader reader(data);
  const auto version = reader.read<std::uint16_t>();
  const auto signature = reader.read<std::uint16_t>();
  if (!version || !signature || *version != 1 || *signature != 0xFFFF) return std::nullopt;
  const auto helpId = reader.read<std::uint32_t>();
  const auto exStyle = reader.read<std::uint32_t>();
  const auto style = reader.read<std::uint32_t>();
  const auto items = reader.read<std::uint16_t>();
  const auto x = reader.read<std::int16_t>();
  const auto y = reader.read<std::int16_t>();
  const auto width = reader.read<std::int16_t>();
  const auto height = reader.read<std::int16_t>();
  if (!helpId || !exStyle || !style || !items || !x || !y || !width || !height) {
    return std::nullopt;
  }
  if ((*style & DS_SETFONT) == 0) return std::nullopt;
  if (!reader.skipNameOrOrdinal() || !reader.skipNameOrOrdinal() || !reader.readText()) {
    return std::nullopt;
  }
  const auto pointSize = reader.read<std::uint16_t>();
  const auto weight = reader.read<std::uint16_t>();
  const auto italic = reader.read<std::uint8_t>();
  const auto charset = reader.read<std::uint8_t>();
  auto fontName = reader.readText();
  if (!pointSize || !weight || !italic || !charset || !fontName) return std::nullopt;

  DialogTemplateInfo info;
  info.width = *width;
  info.height = *height;
  info.pointSize = *pointSize;
  info.weight = *weight;
  info.italic = *italic != 0;
  info.charset = *charset;
  info.fontName = std::move(*fontName);
  return info;
}

std::optional<DialogTemplateInfo> findDialogTemplate(HINSTANCE module, int id) {
  HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
  if (resource == nullptr) return std::nullopt;
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  return readDialogTemplate(
      {static_cast<const std::uint8_t*>(bytes), ::SizeofResource(module, resource)});
}

SIZE dialogSizeInPixels(const DialogTemplateInfo& info) {
  const unique_screen_context screen(::GetDC(nullptr));
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(info.pointSize, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
  font.lfWeight = info.weight;
  font.lfItalic = info.italic ? TRUE : FALSE;
  font.lfCharSet = info.charset;
  info.fontName.copy(font.lfFaceName, LF_FACESIZE - 1);
  unique_font made(::CreateFontIndirectW(&font));

  // The dialog base units: the average width of the Latin letters and the
  // height of the font, as the dialog manager measures them.
  HGDIOBJ previous =
      ::SelectObject(screen.get(), made ? made.get() : ::GetStockObject(SYSTEM_FONT));
  TEXTMETRICW metrics{};
  SIZE letters{};
  static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  ::GetTextMetricsW(screen.get(), &metrics);
  ::GetTextExtentPoint32W(screen.get(), kLetters, 52, &letters);
  ::SelectObject(screen.get(), previous);

  const int unitX = (letters.cx / 26 + 1) / 2;
  const int unitY = metrics.tmHeight;
  return {::MulDiv(info.width, unitX, 4), ::MulDiv(info.height, unitY, 8)};
}

}  // namespace tagwright::com
