#pragma once

#include <windows.h>
#include <ocidl.h>

#include <atomic>

#include "addin_interfaces.h"
#include "core/settings/settings_profile.h"

namespace tagwright::cli {

// The connection object that tagwright.exe hands to the component's Init,
// as the host application does: an IDispatch that offers the settings
// profile (IPropertyProfile) over the same profile file the native program
// uses, and none of the other host services. Reference counted; the
// profile must outlive every reference.
// COM interfaces have no virtual destructors: the object ends through
// Release, never through a delete of an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ProfileConnection final : public IDispatch, public IPropertyProfile {
 public:
  static ProfileConnection* create(SettingsProfile& profile);  // one reference

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: the connection has no members of its own to call.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

  // IPropertyBag / IPropertyProfile
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE RegisterProfileAs(BSTR profileName) override;

 private:
  explicit ProfileConnection(SettingsProfile& profile) : profile_(profile) {}
  ~ProfileConnection() = default;

  SettingsProfile& profile_;
  std::atomic<ULONG> references_{1};
};
#pragma GCC diagnostic pop

}  // namespace tagwright::cli
