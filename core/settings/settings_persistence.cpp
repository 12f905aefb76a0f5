#include "core/settings/settings_persistence.h"

namespace tagwright {

std::u16string loadKey(const SettingKey& key) {
  std::u16string text(key.name);
  text += u':';
  for (char c : std::to_string(key.defaultValue)) text += static_cast<char16_t>(c);
  return text;
}

bool LoadSettings(SettingsProfile& profile, PrinterSettings& settings) {
  for (const SettingKey& key : settingKeys()) {
    ScriptValue value = ScriptValue::int32(settings.*key.field);
    if (!profile.read(loadKey(key), value)) return false;
    if (auto number = coerceToInt32(value)) settings.*key.field = *number;
  }
  return true;
}

void SaveSettings(SettingsProfile& profile, const PrinterSettings& settings) {
  for (const SettingKey& key : settingKeys()) profile.write(key.name, settings.*key.field);
}

}  // namespace tagwright
