#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/settings/number_range.h"
#include "core/settings/printer_settings.h"

namespace tagwright {

// One number edit of the settings page: the field it edits, the range a
// value is clamped to when the edit loses the focus, and the range of its
// spin box's arrows, both as the field's row in kSettingRows gives them.
struct PageEdit {
  int edit;
  int spin;
  std::int32_t PrinterSettings::*field;
  NumberRange typed;
  NumberRange arrows;
};

// The edits whose field does not depend on the media: cutter count, label
// height and width, left and top offset, stop position, black mark offset.
std::span<const PageEdit> fixedPageEdits();

// The media length edit: the gap for labels with gaps (0), the feed length
// for continuous tape (1), the black mark length for anything else.
PageEdit mediaLengthEdit(std::int32_t labelType);

// The edit with this id for the given media; nothing for any other control.
std::optional<PageEdit> findPageEdit(int edit, std::int32_t labelType);

// The number an edit shows: leading blanks, an optional sign and digits up to
// the first other character; text that is no number reads as 0.
std::int32_t editNumber(std::u16string_view text);
std::u16string editText(std::int32_t value);

}  // namespace tagwright
