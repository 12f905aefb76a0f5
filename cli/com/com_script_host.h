#pragma once

#include <windows.h>

#include "addin_interfaces.h"
#include "script/script_host.h"
#include "windows/com/com_ptr.h"

namespace tagwright::cli {

// The registered component reached through COM, called exactly as the host
// application calls it: Init with a connection object, names through
// FindProp/FindMethod, arguments as a SAFEARRAY of VARIANTs, functions
// through CallAsFunc and procedures through CallAsProc, Done at the end.
// S_OK is Ok, S_FALSE Refused, any failure Failed.
class ComScriptHost final : public ScriptHost {
 public:
  ComScriptHost(com::com_ptr<IInitDone> initDone, com::com_ptr<ILanguageExtender> extender,
                com::com_ptr<IDispatch> connection)
      : initDone_(std::move(initDone)),
        extender_(std::move(extender)),
        connection_(std::move(connection)) {}

  HostResult start() override;
  HostResult finish() override;

  std::int32_t propertyCount() override;
  std::int32_t methodCount() override;
  std::optional<std::int32_t> findProperty(std::u16string_view name) override;
  std::optional<std::int32_t> findMethod(std::u16string_view name) override;
  std::u16string propertyName(std::int32_t number, std::int32_t alias) override;
  std::u16string methodName(std::int32_t number, std::int32_t alias) override;
  std::optional<std::int32_t> paramCount(std::int32_t method) override;
  std::optional<bool> hasReturnValue(std::int32_t method) override;

  HostResult getProperty(std::int32_t number, ScriptValue& value) override;
  HostResult setProperty(std::int32_t number, const ScriptValue& value) override;
  HostResult callAsProc(std::int32_t method, const ScriptArgs& args) override;
  HostResult callAsFunc(std::int32_t method, ScriptValue& result, const ScriptArgs& args) override;

 private:
  com::com_ptr<IInitDone> initDone_;
  com::com_ptr<ILanguageExtender> extender_;
  com::com_ptr<IDispatch> connection_;
};

}  // namespace tagwright::cli
