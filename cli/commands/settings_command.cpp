#include "cli/commands/settings_command.h"

#include <utility>

#include "core/addin/catalogue.h"
#include "core/settings/printer_settings.h"
#include "core/settings/settings_persistence.h"
#include "core/text/utf8.h"

namespace tagwright::cli {
namespace {

const SettingKey* keyNamed(const std::string& name) {
  for (const SettingKey& key : settingKeys()) {
    if (toUtf8(key.name) == name) return &key;
  }
  return nullptr;
}

std::string keyList() {
  std::string list;
  for (const SettingKey& key : settingKeys()) list += (list.empty() ? "" : ", ") + toUtf8(key.name);
  return list;
}

std::string showSettings(const PrinterSettings& settings) {
  std::string out;
  for (const SettingKey& key : settingKeys()) {
    std::string name = toUtf8(key.name);
    name.resize(18, ' ');
    out += name + " = " + std::to_string(settings.*key.field) + "\n";
  }
  return out;
}

}  // namespace

SettingsOutcome settingsCommand(FileProfile& profile, const std::vector<std::string>& assignments) {
  auto usage = [](std::string message) {
    return SettingsOutcome::failure(SettingsFailure{std::move(message), true});
  };
  auto profileFailure = [](std::string message) {
    return SettingsOutcome::failure(SettingsFailure{std::move(message), false});
  };
  std::vector<std::pair<const SettingKey*, std::int32_t>> changes;
  for (const std::string& assignment : assignments) {
    const std::size_t equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const SettingKey* key = keyNamed(name);
    if (equals == std::string::npos || key == nullptr) {
      std::string message =
          "\"" + assignment + "\": expected KEY=VALUE with one of the keys " + keyList();
      if (equals != std::string::npos && findPropertyNumber(utf8ToUtf16(name))) {
        message = "\"" + name + "\" is a script property; settings takes the stored keys (" +
                  keyList() + "), or set the property in a script";
      }
      return usage(std::move(message));
    }
    std::optional<std::int32_t> value = parseInt32(assignment.substr(equals + 1));
    if (!value) {
      return usage("\"" + assignment + "\": the value must be a 32-bit integer");
    }
    changes.emplace_back(key, *value);
  }

  if (const Status loaded = profile.load(); !loaded) return profileFailure(loaded.error());
  PrinterSettings settings;
  profile.registerAs(kProfileName);
  if (!LoadSettings(profile, settings)) {
    return profileFailure("the settings profile " + profile.path() + " cannot be read");
  }
  if (!changes.empty()) {
    for (const auto& [key, value] : changes) settings.*key->field = value;
    SaveSettings(profile, settings);
    if (const Status saved = profile.save(); !saved) return profileFailure(saved.error());
  }
  return showSettings(settings);
}

}  // namespace tagwright::cli
