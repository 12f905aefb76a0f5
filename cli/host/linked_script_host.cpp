#include "cli/host/linked_script_host.h"

namespace tagwright::cli {

std::optional<std::int32_t> LinkedScriptHost::findProperty(std::u16string_view name) {
  std::int32_t number = -1;
  if (addIn_.findProperty(name, number) != HostResult::Ok) return std::nullopt;
  return number;
}

std::optional<std::int32_t> LinkedScriptHost::findMethod(std::u16string_view name) {
  std::int32_t number = -1;
  if (addIn_.findMethod(name, number) != HostResult::Ok) return std::nullopt;
  return number;
}

std::u16string LinkedScriptHost::propertyName(std::int32_t number, std::int32_t alias) {
  std::u16string name;
  addIn_.propertyName(number, alias, name);
  return name;
}

std::u16string LinkedScriptHost::methodName(std::int32_t number, std::int32_t alias) {
  std::u16string name;
  addIn_.methodName(number, alias, name);
  return name;
}

std::optional<std::int32_t> LinkedScriptHost::paramCount(std::int32_t method) {
  std::int32_t count = 0;
  if (addIn_.paramCount(method, count) != HostResult::Ok) return std::nullopt;
  return count;
}

std::optional<bool> LinkedScriptHost::hasReturnValue(std::int32_t method) {
  bool flag = false;
  if (addIn_.hasReturnValue(method, flag) != HostResult::Ok) return std::nullopt;
  return flag;
}

}  // namespace tagwright::cli
