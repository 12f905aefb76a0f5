// The add-in interfaces as the host program sees them, declared here on
// their own (not taken from the component's IDL), so that a slot out of
// place in the component shows up as a wrong call in the tests.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>

namespace host {

struct IInitDone : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Init(IDispatch* connection) = 0;
  virtual HRESULT STDMETHODCALLTYPE Done() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInfo(SAFEARRAY** info) = 0;
};

struct IPropertyProfile : IPropertyBag {
  virtual HRESULT STDMETHODCALLTYPE RegisterProfileAs(BSTR profileName) = 0;
};

struct ILanguageExtender : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE RegisterExtensionAs(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNProps(long* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindProp(BSTR name, long* number) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPropName(long number, long alias, BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPropVal(long number, VARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetPropVal(long number, VARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsPropReadable(long number, BOOL* readable) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsPropWritable(long number, BOOL* writable) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNMethods(long* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindMethod(BSTR name, long* number) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMethodName(long number, long alias, BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNParams(long method, long* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetParamDefValue(long method, long param, VARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE HasRetVal(long method, BOOL* hasValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE CallAsProc(long method, SAFEARRAY** params) = 0;
  virtual HRESULT STDMETHODCALLTYPE CallAsFunc(long method, VARIANT* result,
                                               SAFEARRAY** params) = 0;
};

struct IAsyncEvent : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetEventBufferDepth(long depth) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetEventBufferDepth(long* depth) = 0;
  virtual HRESULT STDMETHODCALLTYPE ExternalEvent(BSTR source, BSTR message, BSTR data) = 0;
  virtual HRESULT STDMETHODCALLTYPE CleanBuffer() = 0;
};

struct IStatusLine : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetStatusLine(BSTR text) = 0;
  virtual HRESULT STDMETHODCALLTYPE ResetStatusLine() = 0;
};

struct IPropertyLink : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetPrinterGroup(long*, long*, long*, long*, long*, long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetPrinterGroup(long, long, long, long, long, long) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLabelGroup(long*, long*, long*, long*, long*, long*,
                                                  long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetLabelGroup(long, long, long, long, long, long, long) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMediaGroup(long*, long*, long*, long*, long*, long*,
                                                  long*) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMediaGroup(long, long, long, long, long, long, long) = 0;
};

// The class identifier under which the component registers itself.
inline constexpr CLSID kAddInClassId = {
    0xC1109BEC, 0xEBD2, 0x49B9, {0x8A, 0x9C, 0xB3, 0xE2, 0xC2, 0x15, 0x82, 0x8E}};
inline constexpr wchar_t kAddInClassIdText[] = L"{C1109BEC-EBD2-49B9-8A9C-B3E2C215828E}";
inline constexpr wchar_t kProgId[] = L"AddIn.Tagwright";

}  // namespace host

// Interface identifiers, for __uuidof.
__CRT_UUID_DECL(host::IInitDone, 0xAB634001, 0xF13D, 0x11D0, 0xA4, 0x59, 0x00, 0x40, 0x95, 0xE1,
                0xDA, 0xEA)
__CRT_UUID_DECL(host::IPropertyProfile, 0xAB634002, 0xF13D, 0x11D0, 0xA4, 0x59, 0x00, 0x40, 0x95,
                0xE1, 0xDA, 0xEA)
__CRT_UUID_DECL(host::ILanguageExtender, 0xAB634003, 0xF13D, 0x11D0, 0xA4, 0x59, 0x00, 0x40, 0x95,
                0xE1, 0xDA, 0xEA)
__CRT_UUID_DECL(host::IAsyncEvent, 0xAB634004, 0xF13D, 0x11D0, 0xA4, 0x59, 0x00, 0x40, 0x95, 0xE1,
                0xDA, 0xEA)
__CRT_UUID_DECL(host::IStatusLine, 0xAB634005, 0xF13D, 0x11D0, 0xA4, 0x59, 0x00, 0x40, 0x95, 0xE1,
                0xDA, 0xEA)
__CRT_UUID_DECL(host::IPropertyLink, 0x52512A61, 0x2A9D, 0x11D1, 0xA4, 0xD6, 0x00, 0x40, 0x95, 0xE1,
                0xDA, 0xEA)
