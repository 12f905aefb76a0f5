#include "cli/com/profile_connection.h"

#include <new>
#include <string_view>

#include "windows/com/variant_value.h"

namespace tagwright::cli {
namespace {

std::u16string_view textOf(LPCOLESTR name) {
  if (name == nullptr) return {};
  return std::u16string_view(reinterpret_cast<const char16_t*>(name));
}

}  // namespace

ProfileConnection* ProfileConnection::create(SettingsProfile& profile) {
  return new (std::nothrow) ProfileConnection(profile);
}

HRESULT ProfileConnection::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    *out = static_cast<IDispatch*>(this);
  } else if (IsEqualIID(iid, __uuidof(IPropertyProfile)) || IsEqualIID(iid, IID_IPropertyBag)) {
    *out = static_cast<IPropertyProfile*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG ProfileConnection::AddRef() { return ++references_; }

ULONG ProfileConnection::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT ProfileConnection::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT ProfileConnection::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT ProfileConnection::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return DISP_E_UNKNOWNNAME;
}

HRESULT ProfileConnection::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                  UINT*) {
  return DISP_E_MEMBERNOTFOUND;
}

// The component asks with "Key:default"; the file profile answers the
// stored value or the default, as a 32-bit integer.
HRESULT ProfileConnection::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (value == nullptr) return E_POINTER;
  try {
    ScriptValue read = com::toScriptValue(*value);
    if (!profile_.read(textOf(name), read)) return E_FAIL;
    ::VariantClear(value);
    com::storeScriptValue(read, *value);
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ProfileConnection::Write(LPCOLESTR name, VARIANT* value) {
  if (value == nullptr) return E_POINTER;
  try {
    std::optional<std::int32_t> number = coerceToInt32(com::toScriptValue(*value));
    if (!number) return DISP_E_TYPEMISMATCH;
    profile_.write(textOf(name), *number);
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ProfileConnection::RegisterProfileAs(BSTR profileName) {
  try {
    profile_.registerAs(profileName == nullptr
                            ? std::u16string_view()
                            : std::u16string_view(reinterpret_cast<const char16_t*>(profileName),
                                                  ::SysStringLen(profileName)));
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace tagwright::cli
