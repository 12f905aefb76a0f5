#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/profile/file_profile.h"

namespace tagwright::cli {

struct SettingsOutcome {
  std::string shown;                 // the twenty values, after any change
  std::optional<std::string> error;  // usage (bad KEY=VALUE) or profile failure
  bool usageError = false;
};

// Shows the twenty settings as the component loads them from `profile`
// (defaults for keys the file does not hold), or first sets some of them:
// each assignment is KEY=VALUE with KEY a persisted key (PrinterSpeed,
// LabelSize, ...) and VALUE a 32-bit integer stored as it is, the way the
// settings page stores it. All assignments are checked before any is made.
SettingsOutcome settingsCommand(FileProfile& profile, const std::vector<std::string>& assignments);

}  // namespace tagwright::cli
