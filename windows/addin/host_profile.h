#pragma once

#include "addin_interfaces.h"
#include "core/settings/settings_profile.h"

namespace tagwright::com {

// The host's IPropertyProfile seen as the core's settings store. Every VARIANT
// handed to the host is owned here and cleared after the call, whatever the
// host put into it, so that a string or object the host returns never leaks.
class HostProfile final : public SettingsProfile {
 public:
  // The profile must outlive this adapter; the add-in object holds the
  // reference and drops the adapter first.
  explicit HostProfile(IPropertyProfile& profile) : profile_(profile) {}

  void registerAs(std::u16string_view profileName) override;
  bool read(std::u16string_view key, ScriptValue& value) override;
  void write(std::u16string_view key, std::int32_t value) override;

 private:
  IPropertyProfile& profile_;
};

}  // namespace tagwright::com
