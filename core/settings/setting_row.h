#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/addin/catalogue.h"
#include "core/settings/number_range.h"

namespace tagwright {

struct PrinterSettings;

// How a script's write of a property is stored.
enum class ScriptWrite : std::uint8_t {
  Ranged,  // the value less the offset; the setting's default when the value is outside the range
  Flag,    // 1 for any non-zero value, else 0
};

struct ScriptRule {
  ScriptWrite kind;
  NumberRange accepted;  // the values a script may write (ranged settings only)
  std::int32_t offset;   // a script reads and writes the stored value plus this
};

// The number edit of a setting on the settings page: the range a value is
// clamped to when the edit loses the focus, and the range of its spin box's
// arrows.
struct PageRule {
  NumberRange typed;
  NumberRange arrows;
};

// The three groups in which the settings page exchanges the record, and a
// setting's place among the parameters of its group.
enum class SettingGroup : std::uint8_t { Printer, Label, Media };
struct GroupSlot {
  SettingGroup group;
  std::size_t position;
};

// Everything the component knows of one setting.
struct SettingRow {
  std::u16string_view name;  // the persisted key
  std::int32_t PrinterSettings::*field;
  Property property;          // the script property that shows the field
  std::int32_t defaultValue;  // also what a script write out of range stores
  ScriptRule script;
  // The field set to 0 when a script write stores a non-zero value here.
  std::int32_t PrinterSettings::*clears;
  std::optional<PageRule> page;  // nothing for a setting with no number edit
  GroupSlot slot;
};

}  // namespace tagwright
