#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tagwright::com {

// What a property frame needs to know of a dialog template before the
// dialog exists: its size in dialog units and the font those units are
// measured in.
struct DialogTemplateInfo {
  std::int16_t width = 0;   // dialog units
  std::int16_t height = 0;  // dialog units
  std::uint16_t pointSize = 0;
  std::uint16_t weight = 0;
  bool italic = false;
  std::uint8_t charset = DEFAULT_CHARSET;
  std::wstring fontName;
};

// Reads an extended dialog template (the form DIALOGEX makes) that names its
// font. Nothing for any other form or for data that ends too early.
std::optional<DialogTemplateInfo> readDialogTemplate(std::span<const std::uint8_t> data);

// The template of dialog `id` in the module; nothing when it is missing.
std::optional<DialogTemplateInfo> findDialogTemplate(HINSTANCE module, int id);

// The template's size in pixels, measured with its own font on the screen,
// as the dialog manager does when it makes the dialog.
SIZE dialogSizeInPixels(const DialogTemplateInfo& info);

}  // namespace tagwright::com
