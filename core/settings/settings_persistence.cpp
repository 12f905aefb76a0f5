#include "core/settings/settings_persistence.h"

namespace tagwright {

const std::array<SettingKey, 20>& settingKeys() {
  static const std::array<SettingKey, 20> kKeys{{
      {u"PrinterPort", 0, &PrinterSettings::PrinterPort},
      {u"PrinterSpeed", 0, &PrinterSettings::PrinterSpeed},
      {u"PrinterDarkness", 5, &PrinterSettings::PrinterDarkness},
      {u"PrinterStriper", 0, &PrinterSettings::PrinterStriper},
      {u"PrinterCutter", 0, &PrinterSettings::PrinterCutter},
      {u"LabelSize", 25, &PrinterSettings::LabelSize},
      {u"LabelWidth", 43, &PrinterSettings::LabelWidth},
      {u"LeftMargin", 0, &PrinterSettings::LeftMargin},
      {u"TopMargin", 0, &PrinterSettings::TopMargin},
      {u"StopPosition", 0, &PrinterSettings::StopPosition},
      {u"BarcodeWidth", 1, &PrinterSettings::BarcodeWidth},
      {u"BarcodeNarrow", 0, &PrinterSettings::BarcodeNarrow},
      {u"BarcodeReadable", 1, &PrinterSettings::BarcodeReadable},
      {u"LabelType", 0, &PrinterSettings::LabelType},
      {u"LabelGap", 3, &PrinterSettings::LabelGap},
      {u"FeedLenght", 10, &PrinterSettings::FeedLenght},
      {u"BlackMarkLenght", 0, &PrinterSettings::BlackMarkLenght},
      {u"BlackMarkPosition", 0, &PrinterSettings::BlackMarkPosition},
      {u"LabelRotate", 0, &PrinterSettings::LabelRotate},
      {u"MetodTransfer", 0, &PrinterSettings::MetodTransfer},
  }};
  return kKeys;
}

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
