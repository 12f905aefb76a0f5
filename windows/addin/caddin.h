#pragma once

#include <atomic>
#include <memory>

#include "addin_interfaces.h"
#include "core/addin/add_in.h"
#include "windows/addin/host_profile.h"
#include "windows/com/com_ptr.h"
#include "windows/module/add_in_module.h"
#include "windows/page/settings_property_page.h"

// The add-in object the host creates as "AddIn.Tagwright": a COM adapter over
// the portable tagwright::AddIn. It translates VARIANT, BSTR and SAFEARRAY
// into the core's values and the core's results into S_OK, S_FALSE and
// E_FAIL; every decision the host can see is made by the core.
//
// The object can be aggregated: its own IUnknown (`inner_`) is the
// non-delegating one, and the interfaces below delegate to the controlling
// IUnknown, which is the outer object's when aggregated.
class CAddIn final : public IInitDone,
                     public ILanguageExtender,
                     public IPropertyLink,
                     public IPropertyPage {
 public:
  // Makes an object and asks it for `iid`. With an outer object only
  // IUnknown may be asked for (the outer object needs the inner IUnknown).
  static HRESULT create(IUnknown* outer, REFIID iid, void** object) noexcept;

  CAddIn(const CAddIn&) = delete;
  CAddIn& operator=(const CAddIn&) = delete;

  // IUnknown, delegating to the controlling IUnknown.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IInitDone
  HRESULT STDMETHODCALLTYPE Init(IDispatch* connection) override;
  HRESULT STDMETHODCALLTYPE Done() override;
  HRESULT STDMETHODCALLTYPE GetInfo(SAFEARRAY** info) override;

  // ILanguageExtender
  HRESULT STDMETHODCALLTYPE RegisterExtensionAs(BSTR* extensionName) override;
  HRESULT STDMETHODCALLTYPE GetNProps(LONG* count) override;
  HRESULT STDMETHODCALLTYPE FindProp(BSTR name, LONG* number) override;
  HRESULT STDMETHODCALLTYPE GetPropName(LONG number, LONG alias, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE GetPropVal(LONG number, VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE SetPropVal(LONG number, VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE IsPropReadable(LONG number, BOOL* readable) override;
  HRESULT STDMETHODCALLTYPE IsPropWritable(LONG number, BOOL* writable) override;
  HRESULT STDMETHODCALLTYPE GetNMethods(LONG* count) override;
  HRESULT STDMETHODCALLTYPE FindMethod(BSTR name, LONG* number) override;
  HRESULT STDMETHODCALLTYPE GetMethodName(LONG number, LONG alias, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE GetNParams(LONG method, LONG* count) override;
  HRESULT STDMETHODCALLTYPE GetParamDefValue(LONG method, LONG param, VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE HasRetVal(LONG method, BOOL* hasValue) override;
  HRESULT STDMETHODCALLTYPE CallAsProc(LONG method, SAFEARRAY** params) override;
  HRESULT STDMETHODCALLTYPE CallAsFunc(LONG method, VARIANT* result, SAFEARRAY** params) override;

  // IPropertyLink: the raw settings groups of the settings page.
  HRESULT STDMETHODCALLTYPE GetPrinterGroup(LONG* port, LONG* speed, LONG* darkness, LONG* striper,
                                            LONG* cutter, LONG* transfer) override;
  HRESULT STDMETHODCALLTYPE SetPrinterGroup(LONG port, LONG speed, LONG darkness, LONG striper,
                                            LONG cutter, LONG transfer) override;
  HRESULT STDMETHODCALLTYPE GetLabelGroup(LONG* size, LONG* width, LONG* gap, LONG* leftMargin,
                                          LONG* topMargin, LONG* stopPosition,
                                          LONG* rotate) override;
  HRESULT STDMETHODCALLTYPE SetLabelGroup(LONG size, LONG width, LONG gap, LONG leftMargin,
                                          LONG topMargin, LONG stopPosition, LONG rotate) override;
  HRESULT STDMETHODCALLTYPE GetMediaGroup(LONG* barcodeWidth, LONG* barcodeNarrow,
                                          LONG* barcodeReadable, LONG* labelType, LONG* feedLength,
                                          LONG* blackMarkLength, LONG* blackMarkPosition) override;
  HRESULT STDMETHODCALLTYPE SetMediaGroup(LONG barcodeWidth, LONG barcodeNarrow,
                                          LONG barcodeReadable, LONG labelType, LONG feedLength,
                                          LONG blackMarkLength, LONG blackMarkPosition) override;

  // IPropertyPage: the printer settings page, served by `page_`.
  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  HRESULT STDMETHODCALLTYPE Deactivate() override;
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
  HRESULT STDMETHODCALLTYPE Show(UINT command) override;
  HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE IsPageDirty() override;
  HRESULT STDMETHODCALLTYPE Apply() override;
  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR helpDirectory) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override;

 private:
  // The object's own IUnknown: identity and lifetime.
  class InnerUnknown final : public IUnknown {
   public:
    explicit InnerUnknown(CAddIn& owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

   private:
    CAddIn& owner_;
  };

  CAddIn(IUnknown* outer, const tagwright::AddInServices& services);
  ~CAddIn();

  // The interface map, in order. The identity (IUnknown) is answered by the
  // inner IUnknown before this is consulted.
  void* findInterface(REFIID iid) noexcept;

  // Drops the host services in the order Done releases them.
  void releaseHostServices() noexcept;

  tagwright::com::ModuleLock moduleLock_;
  std::atomic<ULONG> references_{0};
  InnerUnknown inner_;
  IUnknown* controlling_;

  // Host connection, held from Init to Done.
  tagwright::com::com_ptr<IErrorLog> errorLog_;
  tagwright::com::com_ptr<IPropertyProfile> profile_;
  tagwright::com::com_ptr<IStatusLine> statusLine_;
  tagwright::com::com_ptr<IAsyncEvent> asyncEvent_;
  std::unique_ptr<tagwright::com::HostProfile> hostProfile_;

  tagwright::AddIn core_;

  // The settings page; it lives and dies with the object.
  tagwright::com::SettingsPropertyPage page_{tagwright::com::addInModule().instance()};
};
