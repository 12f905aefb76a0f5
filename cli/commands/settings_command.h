#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/profile/file_profile.h"
#include "core/util/result.h"

namespace tagwright::cli {

// Why the settings could not be shown or set: a bad KEY=VALUE (a usage
// error), or a profile that cannot be read or written.
struct SettingsFailure {
  std::string message;
  bool usageError = false;
};

// The twenty values, after any change, one a line; or why not.
using SettingsOutcome = Result<std::string, SettingsFailure>;

// Shows the twenty settings as the component loads them from `profile`
// (defaults for keys the file does not hold), or first sets some of them:
// each assignment is KEY=VALUE with KEY a persisted key (PrinterSpeed,
// LabelSize, ...) and VALUE a 32-bit integer stored as it is, the way the
// settings page stores it. All assignments are checked before any is made.
SettingsOutcome settingsCommand(FileProfile& profile, const std::vector<std::string>& assignments);

}  // namespace tagwright::cli
