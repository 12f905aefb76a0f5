#pragma once

#include "script/script_host.h"
#include "core/addin/add_in.h"
#include "core/settings/settings_profile.h"

namespace tagwright::cli {

// The component linked into the program: every call goes straight to the
// portable add-in object, which makes all the decisions.
class LinkedScriptHost final : public ScriptHost {
 public:
  // `profile` may be null: the component then starts from its defaults and
  // saves nothing.
  LinkedScriptHost(AddIn& addIn, SettingsProfile* profile) : addIn_(addIn), profile_(profile) {}

  HostResult start() override { return addIn_.init(profile_); }
  HostResult finish() override { return addIn_.done(); }

  std::int32_t propertyCount() override { return addIn_.propertyCount(); }
  std::int32_t methodCount() override { return addIn_.methodCount(); }
  std::optional<std::int32_t> findProperty(std::u16string_view name) override;
  std::optional<std::int32_t> findMethod(std::u16string_view name) override;
  std::u16string propertyName(std::int32_t number, std::int32_t alias) override;
  std::u16string methodName(std::int32_t number, std::int32_t alias) override;
  std::optional<std::int32_t> paramCount(std::int32_t method) override;
  std::optional<bool> hasReturnValue(std::int32_t method) override;

  HostResult getProperty(std::int32_t number, ScriptValue& value) override {
    return addIn_.getProperty(number, value);
  }
  HostResult setProperty(std::int32_t number, const ScriptValue& value) override {
    return addIn_.setProperty(number, value);
  }
  HostResult callAsProc(std::int32_t method, const ScriptArgs& args) override {
    return addIn_.callAsProc(method, args);
  }
  HostResult callAsFunc(std::int32_t method, ScriptValue& result, const ScriptArgs& args) override {
    return addIn_.callAsFunc(method, result, args);
  }

 private:
  AddIn& addIn_;
  SettingsProfile* profile_;
};

}  // namespace tagwright::cli
