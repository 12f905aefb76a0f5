#include "core/settings/printer_settings.h"

namespace tagwright {
namespace {

// Checks of the table of settings, made when the component is built.

// A default record reads every field in the comparison, so that it is a
// constant only when some row gives each field its default.
constexpr PrinterSettings kDefaults{};
static_assert(kDefaults == kDefaults, "every field needs a row");

constexpr bool eachFieldAndPropertyOnce() {
  for (const SettingRow& row : kSettingRows) {
    int sameField = 0;
    int sameProperty = 0;
    for (const SettingRow& other : kSettingRows) {
      sameField += other.field == row.field ? 1 : 0;
      sameProperty += other.property == row.property ? 1 : 0;
    }
    if (sameField != 1 || sameProperty != 1 || row.property == Property::IsEnabled) return false;
  }
  return kSettingRows.size() + 1 == static_cast<std::size_t>(kPropertyCount);
}
static_assert(eachFieldAndPropertyOnce());

constexpr bool groupPositionsTakenOnce() {
  for (const SettingRow& row : kSettingRows) {
    if (row.slot.position >= groupSize(row.slot.group)) return false;
    int same = 0;
    for (const SettingRow& other : kSettingRows) {
      same += other.slot.group == row.slot.group && other.slot.position == row.slot.position;
    }
    if (same != 1) return false;
  }
  return true;
}
static_assert(groupPositionsTakenOnce());

// What a script write out of range stores must itself be a value a script
// may write.
constexpr bool defaultsAccepted() {
  for (const SettingRow& row : kSettingRows) {
    if (row.script.kind == ScriptWrite::Ranged &&
        !row.script.accepted.contains(row.defaultValue + row.script.offset)) {
      return false;
    }
  }
  return true;
}
static_assert(defaultsAccepted());

}  // namespace
}  // namespace tagwright
