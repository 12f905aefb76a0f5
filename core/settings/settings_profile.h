#pragma once

#include <cstdint>
#include <string_view>

#include "core/script/script_value.h"

namespace tagwright {

// The host's settings store as the add-in object uses it. On Windows it is
// the host's IPropertyProfile; the command-line host keeps a file.
class SettingsProfile {
 public:
  virtual ~SettingsProfile() = default;
  // Names the section of the store in which the keys live. Result ignored.
  virtual void registerAs(std::u16string_view profileName) = 0;
  // Reads one value. The key carries its default after a colon
  // ("LabelSize:25"); the store answers that default when it holds nothing.
  // `value` comes in typed as a 32-bit integer and may come back in any
  // type. Returns false when the read failed.
  virtual bool read(std::u16string_view key, ScriptValue& value) = 0;
  // Writes one value under a bare key. Failures are not reported.
  virtual void write(std::u16string_view key, std::int32_t value) = 0;
};

}  // namespace tagwright
