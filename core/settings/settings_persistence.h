#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/printer_settings.h"
#include "core/settings/settings_profile.h"

namespace tagwright {

inline constexpr std::u16string_view kProfileName = u"Printer Tagwright";

// A row of the table of settings seen as a persisted key: `name` is the bare
// key, used to save; the load adds the default.
using SettingKey = SettingRow;

// The twenty persisted keys in load and save order.
constexpr const std::array<SettingKey, 20>& settingKeys() { return kSettingRows; }

// "Key:default", as the load passes it.
std::u16string loadKey(const SettingKey& key);

// Reads the twenty values in key order. Stops at the first failed read and
// returns false; fields read so far keep their new values. A value that
// comes back in another type is coerced as the host would; one that cannot
// be coerced leaves its field as it was, and the load goes on.
bool LoadSettings(SettingsProfile& profile, PrinterSettings& settings);

// Writes the twenty values in key order under the bare keys.
void SaveSettings(SettingsProfile& profile, const PrinterSettings& settings);

}  // namespace tagwright
