#include "cli/com/com_script_host.h"

#include <new>

#include "windows/com/unique_bstr.h"
#include "windows/com/unique_safearray.h"
#include "windows/com/unique_variant.h"
#include "windows/com/variant_value.h"

namespace tagwright::cli {
namespace {

HostResult resultOf(HRESULT hr) {
  if (hr == S_OK) return HostResult::Ok;
  if (hr == S_FALSE) return HostResult::Refused;
  return HostResult::Failed;
}

// A one-dimensional SAFEARRAY of VARIANTs with lower bound 0 holding `args`.
com::unique_safearray argumentArray(const ScriptArgs& args) {
  com::unique_safearray array(
      ::SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(args.size())));
  if (!array) throw std::bad_alloc();
  for (std::size_t i = 0; i < args.size(); ++i) {
    com::unique_variant element;
    com::storeScriptValue(args[i], *element.get());
    LONG index = static_cast<LONG>(i);
    if (FAILED(::SafeArrayPutElement(array.get(), &index, element.get()))) throw std::bad_alloc();
  }
  return array;
}

std::u16string textOf(const com::unique_bstr& text) {
  return std::u16string(com::bstrText(text.get()));
}

}  // namespace

HostResult ComScriptHost::start() { return resultOf(initDone_->Init(connection_.get())); }

HostResult ComScriptHost::finish() { return resultOf(initDone_->Done()); }

std::int32_t ComScriptHost::propertyCount() {
  long count = 0;
  return SUCCEEDED(extender_->GetNProps(&count)) ? static_cast<std::int32_t>(count) : 0;
}

std::int32_t ComScriptHost::methodCount() {
  long count = 0;
  return SUCCEEDED(extender_->GetNMethods(&count)) ? static_cast<std::int32_t>(count) : 0;
}

std::optional<std::int32_t> ComScriptHost::findProperty(std::u16string_view name) {
  com::unique_bstr text = com::makeBstr(name);
  long number = -1;
  if (extender_->FindProp(text.get(), &number) != S_OK) return std::nullopt;
  return static_cast<std::int32_t>(number);
}

std::optional<std::int32_t> ComScriptHost::findMethod(std::u16string_view name) {
  com::unique_bstr text = com::makeBstr(name);
  long number = -1;
  if (extender_->FindMethod(text.get(), &number) != S_OK) return std::nullopt;
  return static_cast<std::int32_t>(number);
}

std::u16string ComScriptHost::propertyName(std::int32_t number, std::int32_t alias) {
  com::unique_bstr name;
  extender_->GetPropName(number, alias, name.put());
  return textOf(name);
}

std::u16string ComScriptHost::methodName(std::int32_t number, std::int32_t alias) {
  com::unique_bstr name;
  extender_->GetMethodName(number, alias, name.put());
  return textOf(name);
}

std::optional<std::int32_t> ComScriptHost::paramCount(std::int32_t method) {
  long count = 0;
  if (extender_->GetNParams(method, &count) != S_OK) return std::nullopt;
  return static_cast<std::int32_t>(count);
}

std::optional<bool> ComScriptHost::hasReturnValue(std::int32_t method) {
  BOOL flag = FALSE;
  if (extender_->HasRetVal(method, &flag) != S_OK) return std::nullopt;
  return flag != FALSE;
}

HostResult ComScriptHost::getProperty(std::int32_t number, ScriptValue& value) {
  com::unique_variant result;
  const HRESULT hr = extender_->GetPropVal(number, result.get());
  value = com::toScriptValue(*result.get());
  return resultOf(hr);
}

HostResult ComScriptHost::setProperty(std::int32_t number, const ScriptValue& value) {
  com::unique_variant argument;
  com::storeScriptValue(value, *argument.get());
  return resultOf(extender_->SetPropVal(number, argument.get()));
}

HostResult ComScriptHost::callAsProc(std::int32_t method, const ScriptArgs& args) {
  const com::unique_safearray array = argumentArray(args);
  SAFEARRAY* params = array.get();  // read in place; the array stays this host's
  return resultOf(extender_->CallAsProc(method, &params));
}

HostResult ComScriptHost::callAsFunc(std::int32_t method, ScriptValue& result,
                                     const ScriptArgs& args) {
  const com::unique_safearray array = argumentArray(args);
  SAFEARRAY* params = array.get();
  com::unique_variant returned;
  const HRESULT hr = extender_->CallAsFunc(method, returned.get(), &params);
  result = com::toScriptValue(*returned.get());
  return resultOf(hr);
}

}  // namespace tagwright::cli
