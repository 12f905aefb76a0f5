#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/profile/profile_document.h"
#include "core/settings/settings_profile.h"
#include "core/util/result.h"

namespace tagwright::cli {

// The host's settings store kept in a file. The component registers its
// section, reads "Key:default" (the default answered when the file holds no
// value) and writes bare keys; save() then replaces the file atomically.
// A file that cannot be read or parsed is reported by load(), refuses every
// read (so the component's Init fails) and is never overwritten.
class FileProfile final : public SettingsProfile {
 public:
  explicit FileProfile(std::string path) : path_(std::move(path)) {}

  // Reads the file; a missing file is an empty store. Fails with the
  // message when the file is unreadable or damaged ("PATH:LINE: reason").
  Status load();
  // Writes the file if anything changed since load().
  Status save();

  const std::string& path() const { return path_; }
  bool usable() const { return loaded_ && !damage_; }
  const ProfileDocument& document() const { return document_; }
  std::string_view section() const { return section_; }

  void registerAs(std::u16string_view profileName) override;
  bool read(std::u16string_view key, ScriptValue& value) override;
  void write(std::u16string_view key, std::int32_t value) override;

 private:
  std::string path_;
  ProfileDocument document_;
  std::string section_;
  bool loaded_ = false;
  bool changed_ = false;
  std::optional<std::string> damage_;
};

}  // namespace tagwright::cli
