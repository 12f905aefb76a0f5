#include "core/addin/property_values.h"

namespace tagwright {

std::int32_t readProperty(const PrinterSettings& s, Property property) {
  if (property == Property::IsEnabled) return 1;  // the one property with no setting
  const SettingRow* row = settingRow(property);
  if (row == nullptr) return 0;
  return s.*row->field + row->script.offset;
}

void writeProperty(PrinterSettings& s, Property property, std::int32_t value) {
  const SettingRow* row = settingRow(property);
  if (row == nullptr) return;  // IsEnabled, which ignores what it is given
  std::int32_t& stored = s.*row->field;
  switch (row->script.kind) {
    case ScriptWrite::Flag: stored = value != 0 ? 1 : 0; break;
    case ScriptWrite::Ranged:
      stored =
          row->script.accepted.contains(value) ? value - row->script.offset : row->defaultValue;
      break;
  }
  if (row->clears != nullptr && stored != 0) s.*row->clears = 0;
}

}  // namespace tagwright
