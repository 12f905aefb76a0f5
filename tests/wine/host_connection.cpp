#include "tests/wine/host_connection.h"

namespace wine_tests {

void MemoryProfile::store(const std::wstring& key, long value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  storeVariant(key, v);
}

void MemoryProfile::storeVariant(const std::wstring& key, const VARIANT& value) {
  tagwright::com::unique_variant copy;
  // VariantCopy only reads its source, though it is declared non-const.
  VariantCopy(copy.get(), const_cast<VARIANT*>(&value));
  stored[key] = std::move(copy);
}

long MemoryProfile::storedInt(const std::wstring& key) const {
  auto found = stored.find(key);
  if (found == stored.end() || found->second.type() != VT_I4) return -9999;
  return found->second.get()->lVal;
}

std::vector<std::wstring> MemoryProfile::callsStartingWith(const std::wstring& prefix) const {
  std::vector<std::wstring> result;
  for (const std::wstring& call : calls) {
    if (call.rfind(prefix, 0) == 0) result.push_back(call);
  }
  return result;
}

HRESULT MemoryProfile::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag) ||
      IsEqualIID(iid, __uuidof(host::IPropertyProfile))) {
    *object = static_cast<host::IPropertyProfile*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT MemoryProfile::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  const std::wstring full = name != nullptr ? name : L"";
  calls.push_back(L"read:" + full);
  if (reads_++ == failReadAt) return E_FAIL;
  if (value == nullptr) return E_POINTER;
  const std::size_t colon = full.find(L':');
  const std::wstring key = full.substr(0, colon);
  // The component hands in a 32-bit integer; a store answers in place.
  VariantClear(value);
  auto found = stored.find(key);
  if (found != stored.end()) return VariantCopy(value, found->second.get());
  value->vt = VT_I4;
  value->lVal =
      colon == std::wstring::npos ? 0 : std::wcstol(full.c_str() + colon + 1, nullptr, 10);
  return S_OK;
}

HRESULT MemoryProfile::Write(LPCOLESTR name, VARIANT* value) {
  const std::wstring key = name != nullptr ? name : L"";
  if (value == nullptr) return E_POINTER;
  std::wstring shown = L"?";
  if (value->vt == VT_I4) shown = std::to_wstring(value->lVal);
  calls.push_back(L"write:" + key + L"=" + shown);
  storeVariant(key, *value);
  return S_OK;
}

HRESULT MemoryProfile::RegisterProfileAs(BSTR name) {
  calls.push_back(L"register:" + std::wstring(name != nullptr ? name : L""));
  return S_OK;
}

HRESULT HostConnection::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  struct Service {
    const IID& iid;
    const wchar_t* name;
    bool offered;
    IUnknown* object;
  };
  const Service services[] = {
      {IID_IErrorLog, L"IErrorLog", offer_.errorLog, static_cast<IErrorLog*>(&errorLog)},
      {__uuidof(host::IAsyncEvent), L"IAsyncEvent", offer_.asyncEvent,
       static_cast<host::IAsyncEvent*>(&asyncEvent)},
      {__uuidof(host::IStatusLine), L"IStatusLine", offer_.statusLine,
       static_cast<host::IStatusLine*>(&statusLine)},
      {__uuidof(host::IPropertyProfile), L"IPropertyProfile", offer_.profile,
       static_cast<host::IPropertyProfile*>(&profile)},
  };
  for (const Service& service : services) {
    if (!IsEqualIID(iid, service.iid)) continue;
    asked.push_back(service.name);
    if (!service.offered) return E_NOINTERFACE;
    service.object->AddRef();
    *object = service.object;
    return S_OK;
  }
  return E_NOINTERFACE;
}

HRESULT HostConnection::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

}  // namespace wine_tests
