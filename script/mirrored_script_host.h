#pragma once

#include "script/script_host.h"

namespace tagwright::cli {

// Runs a script through `primary` and plays every call that changes the
// component (Init, Done, property writes, method calls) on `mirror` too. The
// answers are the primary's; the mirror's are dropped. tagwright.exe's
// `run --preview` prints through the registered DLL and draws the same jobs
// with the core linked into the program, which is the same code fed the
// same calls.
class MirroredScriptHost final : public ScriptHost {
 public:
  MirroredScriptHost(ScriptHost& primary, ScriptHost& mirror)
      : primary_(primary), mirror_(mirror) {}

  HostResult start() override {
    static_cast<void>(mirror_.start());
    return primary_.start();
  }
  HostResult finish() override {
    static_cast<void>(mirror_.finish());
    return primary_.finish();
  }

  std::int32_t propertyCount() override { return primary_.propertyCount(); }
  std::int32_t methodCount() override { return primary_.methodCount(); }
  std::optional<std::int32_t> findProperty(std::u16string_view name) override {
    return primary_.findProperty(name);
  }
  std::optional<std::int32_t> findMethod(std::u16string_view name) override {
    return primary_.findMethod(name);
  }
  std::u16string propertyName(std::int32_t number, std::int32_t alias) override {
    return primary_.propertyName(number, alias);
  }
  std::u16string methodName(std::int32_t number, std::int32_t alias) override {
    return primary_.methodName(number, alias);
  }
  std::optional<std::int32_t> paramCount(std::int32_t method) override {
    return primary_.paramCount(method);
  }
  std::optional<bool> hasReturnValue(std::int32_t method) override {
    return primary_.hasReturnValue(method);
  }

  HostResult getProperty(std::int32_t number, ScriptValue& value) override {
    return primary_.getProperty(number, value);
  }
  HostResult setProperty(std::int32_t number, const ScriptValue& value) override {
    static_cast<void>(mirror_.setProperty(number, value));
    return primary_.setProperty(number, value);
  }
  HostResult callAsProc(std::int32_t method, const ScriptArgs& args) override {
    static_cast<void>(mirror_.callAsProc(method, args));
    return primary_.callAsProc(method, args);
  }
  HostResult callAsFunc(std::int32_t method, ScriptValue& result, const ScriptArgs& args) override {
    ScriptValue dropped;
    static_cast<void>(mirror_.callAsFunc(method, dropped, args));
    return primary_.callAsFunc(method, result, args);
  }

 private:
  ScriptHost& primary_;
  ScriptHost& mirror_;
};

}  // namespace tagwright::cli
