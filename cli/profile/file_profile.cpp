#include "cli/profile/file_profile.h"

#include "core/text/utf8.h"
#include "platform/atomic_file.h"

namespace tagwright::cli {

Status FileProfile::load() {
  loaded_ = true;
  changed_ = false;
  document_ = ProfileDocument{};
  damage_.reset();
  FileRead file = readWholeFile(path_);
  if (!file) {
    damage_ = file.error();
    return Status::failure(*damage_);
  }
  if (!file.value()) return Status::success();
  ProfileParse parse = parseProfile(*file.value());
  if (!parse) {
    damage_ = path_ + ":" + std::to_string(parse.error().line) +
              ": the settings profile cannot be read: " + parse.error().reason +
              " (the file is left as it is; correct it, or remove it to start from the defaults)";
    return Status::failure(*damage_);
  }
  document_ = std::move(parse).value();
  return Status::success();
}

Status FileProfile::save() {
  if (!loaded_) {
    return Status::failure("the settings profile " + path_ +
                           " was never loaded; it is not written");
  }
  if (damage_) return Status::failure(*damage_);
  if (!changed_) return Status::success();
  if (const Status written = writeFileAtomically(path_, formatProfile(document_)); !written) {
    return Status::failure("the settings were not saved: " + written.error());
  }
  changed_ = false;
  return Status::success();
}

void FileProfile::registerAs(std::u16string_view profileName) { section_ = toUtf8(profileName); }

bool FileProfile::read(std::u16string_view key, ScriptValue& value) {
  if (!usable()) return false;
  const std::string text = toUtf8(key);
  const std::size_t colon = text.find(':');
  const std::string name = text.substr(0, colon);
  if (std::optional<std::int32_t> stored = document_.find(section_, name)) {
    value = ScriptValue::int32(*stored);
    return true;
  }
  if (colon == std::string::npos) return false;  // nothing stored, no default given
  std::optional<std::int32_t> fallback = parseInt32(text.substr(colon + 1));
  if (!fallback) return false;
  value = ScriptValue::int32(*fallback);
  return true;
}

void FileProfile::write(std::u16string_view key, std::int32_t value) {
  if (!usable()) return;
  if (document_.set(section_, toUtf8(key), value)) changed_ = true;
}

}  // namespace tagwright::cli
