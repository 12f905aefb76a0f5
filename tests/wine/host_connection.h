// The host side of the tests: a connection object of our own, offering the
// host services a scenario asks for, and an in-memory settings profile.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "tests/wine/host_interfaces.h"
#include "windows/com/unique_variant.h"

namespace wine_tests {

// Reference counting for objects that live in a test fixture: they are never
// deleted through Release, and the test reads the count to see what the
// component still holds.
class Counted {
 public:
  long references() const { return references_.load(); }

 protected:
  ULONG addReference() { return static_cast<ULONG>(++references_); }
  ULONG dropReference() { return static_cast<ULONG>(--references_); }

 private:
  std::atomic<long> references_{0};
};

// A host service that is held but never called by the component.
template <typename Interface>
class IdleService : public Interface, public Counted {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return addReference(); }
  ULONG STDMETHODCALLTYPE Release() override { return dropReference(); }
  int calls = 0;
};

class ErrorLogService final : public IdleService<IErrorLog> {
 public:
  HRESULT STDMETHODCALLTYPE AddError(LPCOLESTR, EXCEPINFO*) override {
    ++calls;
    return S_OK;
  }
};

class AsyncEventService final : public IdleService<host::IAsyncEvent> {
 public:
  HRESULT STDMETHODCALLTYPE SetEventBufferDepth(long) override { return ++calls, S_OK; }
  HRESULT STDMETHODCALLTYPE GetEventBufferDepth(long*) override { return ++calls, S_OK; }
  HRESULT STDMETHODCALLTYPE ExternalEvent(BSTR, BSTR, BSTR) override { return ++calls, S_OK; }
  HRESULT STDMETHODCALLTYPE CleanBuffer() override { return ++calls, S_OK; }
};

class StatusLineService final : public IdleService<host::IStatusLine> {
 public:
  HRESULT STDMETHODCALLTYPE SetStatusLine(BSTR) override { return ++calls, S_OK; }
  HRESULT STDMETHODCALLTYPE ResetStatusLine() override { return ++calls, S_OK; }
};

// The host's settings store in memory. Reads name "Key:default"; a key it
// does not hold is answered with the default after the colon, as a 32-bit
// integer. Every call is recorded in order.
class MemoryProfile final : public host::IPropertyProfile, public Counted {
 public:
  std::vector<std::wstring> calls;  // "register:NAME", "read:KEY", "write:KEY=VALUE"
  std::map<std::wstring, tagwright::com::unique_variant> stored;
  int failReadAt = -1;  // the read with this 0-based index fails with E_FAIL

  void store(const std::wstring& key, long value);
  // Stores a copy of any VARIANT, to be answered as it is.
  void storeVariant(const std::wstring& key, const VARIANT& value);
  long storedInt(const std::wstring& key) const;
  std::vector<std::wstring> callsStartingWith(const std::wstring& prefix) const;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return addReference(); }
  ULONG STDMETHODCALLTYPE Release() override { return dropReference(); }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE RegisterProfileAs(BSTR name) override;

 private:
  int reads_ = 0;
};

// Which services the connection offers.
struct Offer {
  bool errorLog = true;
  bool asyncEvent = true;
  bool statusLine = true;
  bool profile = true;
};

// The connection object passed to Init: an IDispatch that hands out the
// offered services and records the order in which they were asked for.
class HostConnection final : public IDispatch, public Counted {
 public:
  explicit HostConnection(Offer offer = {}) : offer_(offer) {}

  ErrorLogService errorLog;
  AsyncEventService asyncEvent;
  StatusLineService statusLine;
  MemoryProfile profile;
  std::vector<std::wstring> asked;  // the services asked for, by name

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return addReference(); }
  ULONG STDMETHODCALLTYPE Release() override { return dropReference(); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

 private:
  Offer offer_;
};

}  // namespace wine_tests
