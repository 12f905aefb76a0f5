#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/addin/host_result.h"
#include "core/script/script_value.h"

namespace tagwright::cli {

// What the script runner needs of the component, shaped after the host's
// calls: the linked component answers it directly, the COM build
// answers it through ILanguageExtender of the registered DLL. Refused means
// the component answered "no" (S_FALSE); Failed means the call itself did
// not succeed (E_FAIL from Init, or any COM failure).
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;

  // Init with the settings profile the host was made with; Done saves it.
  virtual HostResult start() = 0;
  virtual HostResult finish() = 0;

  virtual std::int32_t propertyCount() = 0;
  virtual std::int32_t methodCount() = 0;
  virtual std::optional<std::int32_t> findProperty(std::u16string_view name) = 0;
  virtual std::optional<std::int32_t> findMethod(std::u16string_view name) = 0;
  // alias 0 English, 1 Russian
  virtual std::u16string propertyName(std::int32_t number, std::int32_t alias) = 0;
  virtual std::u16string methodName(std::int32_t number, std::int32_t alias) = 0;
  virtual std::optional<std::int32_t> paramCount(std::int32_t method) = 0;
  virtual std::optional<bool> hasReturnValue(std::int32_t method) = 0;

  virtual HostResult getProperty(std::int32_t number, ScriptValue& value) = 0;
  virtual HostResult setProperty(std::int32_t number, const ScriptValue& value) = 0;
  virtual HostResult callAsProc(std::int32_t method, const ScriptArgs& args) = 0;
  virtual HostResult callAsFunc(std::int32_t method, ScriptValue& result,
                                const ScriptArgs& args) = 0;
};

}  // namespace tagwright::cli
