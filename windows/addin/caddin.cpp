#include "windows/addin/caddin.h"

#include <new>
#include <string>

#include "windows/com/com_barrier.h"
#include "windows/com/safearray_args.h"
#include "windows/com/setting_groups.h"
#include "windows/com/unique_bstr.h"
#include "windows/com/variant_value.h"

using tagwright::HostResult;
using tagwright::ScriptValue;
using tagwright::com::copyGroupOut;
using tagwright::com::guardComCall;
using tagwright::com::queryInterface;
using tagwright::com::toHResult;

namespace {

constexpr BOOL toBool(bool flag) { return flag ? TRUE : FALSE; }

// Hands a new BSTR to the host through an out-parameter.
void storeBstr(std::u16string_view text, BSTR* out) {
  *out = tagwright::com::makeBstr(text).release();
}

}  // namespace

HRESULT CAddIn::create(IUnknown* outer, REFIID iid, void** object) noexcept {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  return guardComCall([&]() -> HRESULT {
    auto* created = new CAddIn(outer, tagwright::com::addInModule().services());
    // Holding one reference across the query keeps a refused query from
    // leaving an object with no owner.
    created->inner_.AddRef();
    HRESULT result = created->inner_.QueryInterface(iid, object);
    created->inner_.Release();
    return result;
  });
}

CAddIn::CAddIn(IUnknown* outer, const tagwright::AddInServices& services)
    : inner_(*this), controlling_(outer != nullptr ? outer : &inner_), core_(services) {}

CAddIn::~CAddIn() = default;

void* CAddIn::findInterface(REFIID iid) noexcept {
  if (IsEqualIID(iid, __uuidof(IInitDone))) return static_cast<IInitDone*>(this);
  if (IsEqualIID(iid, __uuidof(ILanguageExtender))) return static_cast<ILanguageExtender*>(this);
  if (IsEqualIID(iid, __uuidof(IPropertyLink))) return static_cast<IPropertyLink*>(this);
  if (IsEqualIID(iid, IID_IPropertyPage)) return static_cast<IPropertyPage*>(this);
  return nullptr;
}

// ---- IUnknown -------------------------------------------------------------

HRESULT CAddIn::InnerUnknown::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  void* found =
      IsEqualIID(iid, IID_IUnknown) ? static_cast<IUnknown*>(this) : owner_.findInterface(iid);
  *object = found;
  if (found == nullptr) return E_NOINTERFACE;
  static_cast<IUnknown*>(found)->AddRef();
  return S_OK;
}

ULONG CAddIn::InnerUnknown::AddRef() { return ++owner_.references_; }

ULONG CAddIn::InnerUnknown::Release() {
  const ULONG left = --owner_.references_;
  if (left == 0) delete &owner_;
  return left;
}

HRESULT CAddIn::QueryInterface(REFIID iid, void** object) {
  return controlling_->QueryInterface(iid, object);
}
ULONG CAddIn::AddRef() { return controlling_->AddRef(); }
ULONG CAddIn::Release() { return controlling_->Release(); }

// ---- IInitDone --------------------------------------------------------------

HRESULT CAddIn::Init(IDispatch* connection) {
  return guardComCall([&] {
    errorLog_ = queryInterface<IErrorLog>(connection);
    asyncEvent_ = queryInterface<IAsyncEvent>(connection);
    statusLine_ = queryInterface<IStatusLine>(connection);
    profile_ = queryInterface<IPropertyProfile>(connection);
    hostProfile_ =
        profile_ ? std::make_unique<tagwright::com::HostProfile>(*profile_.get()) : nullptr;
    return toHResult(core_.init(hostProfile_.get()));
  });
}

HRESULT CAddIn::Done() {
  return guardComCall([&] {
    const HostResult result = core_.done();
    releaseHostServices();
    return toHResult(result);
  });
}

void CAddIn::releaseHostServices() noexcept {
  statusLine_.reset();
  hostProfile_.reset();
  profile_.reset();
  asyncEvent_.reset();
  errorLog_.reset();
}

HRESULT CAddIn::GetInfo(SAFEARRAY** info) {
  if (info == nullptr) return E_POINTER;
  return guardComCall([&] {
    // The version goes into element 0 of the host's array; whether the
    // host's array could take it is not the component's concern.
    static_cast<void>(tagwright::com::storeFirstElement(*info, tagwright::AddIn::kInfoVersion));
    return S_OK;
  });
}

// ---- ILanguageExtender ---------------------------------------------------------

HRESULT CAddIn::RegisterExtensionAs(BSTR* extensionName) {
  if (extensionName == nullptr) return E_POINTER;
  return guardComCall([&] {
    storeBstr(core_.extensionName(), extensionName);
    return S_OK;
  });
}

HRESULT CAddIn::GetNProps(LONG* count) {
  if (count == nullptr) return E_POINTER;
  return guardComCall([&] {
    *count = core_.propertyCount();
    return S_OK;
  });
}

HRESULT CAddIn::GetNMethods(LONG* count) {
  if (count == nullptr) return E_POINTER;
  return guardComCall([&] {
    *count = core_.methodCount();
    return S_OK;
  });
}

HRESULT CAddIn::FindProp(BSTR name, LONG* number) {
  if (number == nullptr) return E_POINTER;
  return guardComCall([&] {
    std::int32_t found = -1;
    const HostResult result = core_.findProperty(tagwright::com::bstrText(name), found);
    *number = found;
    return toHResult(result);
  });
}

HRESULT CAddIn::FindMethod(BSTR name, LONG* number) {
  if (number == nullptr) return E_POINTER;
  return guardComCall([&] {
    std::int32_t found = -1;
    const HostResult result = core_.findMethod(tagwright::com::bstrText(name), found);
    *number = found;
    return toHResult(result);
  });
}

HRESULT CAddIn::GetPropName(LONG number, LONG alias, BSTR* name) {
  if (name == nullptr) return E_POINTER;
  return guardComCall([&] {
    std::u16string text;
    const HostResult result = core_.propertyName(number, alias, text);
    storeBstr(text, name);
    return toHResult(result);
  });
}

HRESULT CAddIn::GetMethodName(LONG number, LONG alias, BSTR* name) {
  if (name == nullptr) return E_POINTER;
  return guardComCall([&] {
    std::u16string text;
    const HostResult result = core_.methodName(number, alias, text);
    storeBstr(text, name);
    return toHResult(result);
  });
}

HRESULT CAddIn::GetPropVal(LONG number, VARIANT* value) {
  if (value == nullptr) return E_POINTER;
  return guardComCall([&] {
    VariantInit(value);
    ScriptValue read;
    const HostResult result = core_.getProperty(number, read);
    tagwright::com::storeScriptValue(read, *value);
    return toHResult(result);
  });
}

HRESULT CAddIn::SetPropVal(LONG number, VARIANT* value) {
  if (value == nullptr) return E_POINTER;
  return guardComCall(
      [&] { return toHResult(core_.setProperty(number, tagwright::com::toScriptValue(*value))); });
}

HRESULT CAddIn::IsPropReadable(LONG number, BOOL* readable) {
  if (readable == nullptr) return E_POINTER;
  return guardComCall([&] {
    bool flag = false;
    const HostResult result = core_.isPropertyReadable(number, flag);
    if (result == HostResult::Ok) *readable = toBool(flag);
    return toHResult(result);
  });
}

HRESULT CAddIn::IsPropWritable(LONG number, BOOL* writable) {
  if (writable == nullptr) return E_POINTER;
  return guardComCall([&] {
    bool flag = false;
    const HostResult result = core_.isPropertyWritable(number, flag);
    if (result == HostResult::Ok) *writable = toBool(flag);
    return toHResult(result);
  });
}

HRESULT CAddIn::GetNParams(LONG method, LONG* count) {
  if (count == nullptr) return E_POINTER;
  return guardComCall([&] {
    std::int32_t params = 0;
    const HostResult result = core_.paramCount(method, params);
    *count = params;
    return toHResult(result);
  });
}

HRESULT CAddIn::GetParamDefValue(LONG method, LONG param, VARIANT* value) {
  if (value == nullptr) return E_POINTER;
  return guardComCall([&] {
    VariantInit(value);
    ScriptValue defaultValue;
    const HostResult result = core_.paramDefaultValue(method, param, defaultValue);
    tagwright::com::storeScriptValue(defaultValue, *value);
    return toHResult(result);
  });
}

HRESULT CAddIn::HasRetVal(LONG method, BOOL* hasValue) {
  if (hasValue == nullptr) return E_POINTER;
  return guardComCall([&] {
    bool flag = false;
    const HostResult result = core_.hasReturnValue(method, flag);
    if (result == HostResult::Ok) *hasValue = toBool(flag);
    return toHResult(result);
  });
}

HRESULT CAddIn::CallAsProc(LONG method, SAFEARRAY** params) {
  return guardComCall(
      [&] { return toHResult(core_.callAsProc(method, tagwright::com::readScriptArgs(params))); });
}

HRESULT CAddIn::CallAsFunc(LONG method, VARIANT* result, SAFEARRAY** params) {
  if (result == nullptr) return E_POINTER;
  return guardComCall([&] {
    ScriptValue returned;
    const HostResult outcome =
        core_.callAsFunc(method, returned, tagwright::com::readScriptArgs(params));
    if (outcome == HostResult::Ok) {
      // The host's variant may still hold an earlier value: it is freed
      // before the result takes its place.
      VariantClear(result);
      tagwright::com::storeScriptValue(returned, *result);
    }
    return toHResult(outcome);
  });
}

// ---- IPropertyLink -------------------------------------------------------------

HRESULT CAddIn::GetPrinterGroup(LONG* port, LONG* speed, LONG* darkness, LONG* striper,
                                LONG* cutter, LONG* transfer) {
  return guardComCall([&] {
    return copyGroupOut(core_.getPrinterGroup(), port, speed, darkness, striper, cutter, transfer);
  });
}

HRESULT CAddIn::SetPrinterGroup(LONG port, LONG speed, LONG darkness, LONG striper, LONG cutter,
                                LONG transfer) {
  return guardComCall([&] {
    core_.setPrinterGroup({port, speed, darkness, striper, cutter, transfer});
    return S_OK;
  });
}

HRESULT CAddIn::GetLabelGroup(LONG* size, LONG* width, LONG* gap, LONG* leftMargin, LONG* topMargin,
                              LONG* stopPosition, LONG* rotate) {
  return guardComCall([&] {
    return copyGroupOut(core_.getLabelGroup(), size, width, gap, leftMargin, topMargin,
                        stopPosition, rotate);
  });
}

HRESULT CAddIn::SetLabelGroup(LONG size, LONG width, LONG gap, LONG leftMargin, LONG topMargin,
                              LONG stopPosition, LONG rotate) {
  return guardComCall([&] {
    core_.setLabelGroup({size, width, gap, leftMargin, topMargin, stopPosition, rotate});
    return S_OK;
  });
}

HRESULT CAddIn::GetMediaGroup(LONG* barcodeWidth, LONG* barcodeNarrow, LONG* barcodeReadable,
                              LONG* labelType, LONG* feedLength, LONG* blackMarkLength,
                              LONG* blackMarkPosition) {
  return guardComCall([&] {
    return copyGroupOut(core_.getMediaGroup(), barcodeWidth, barcodeNarrow, barcodeReadable,
                        labelType, feedLength, blackMarkLength, blackMarkPosition);
  });
}

HRESULT CAddIn::SetMediaGroup(LONG barcodeWidth, LONG barcodeNarrow, LONG barcodeReadable,
                              LONG labelType, LONG feedLength, LONG blackMarkLength,
                              LONG blackMarkPosition) {
  return guardComCall([&] {
    core_.setMediaGroup({barcodeWidth, barcodeNarrow, barcodeReadable, labelType, feedLength,
                         blackMarkLength, blackMarkPosition});
    return S_OK;
  });
}

// ---- IPropertyPage ------------------------------------------------------------
// The settings page keeps its own state and answers every call itself.

HRESULT CAddIn::SetPageSite(IPropertyPageSite* site) { return page_.setPageSite(site); }
HRESULT CAddIn::Activate(HWND parent, LPCRECT rect, BOOL modal) {
  return page_.activate(parent, rect, modal);
}
HRESULT CAddIn::Deactivate() { return page_.deactivate(); }
HRESULT CAddIn::GetPageInfo(PROPPAGEINFO* info) { return page_.getPageInfo(info); }
HRESULT CAddIn::SetObjects(ULONG count, IUnknown** objects) {
  return page_.setObjects(count, objects);
}
HRESULT CAddIn::Show(UINT command) { return page_.show(command); }
HRESULT CAddIn::Move(LPCRECT rect) { return page_.move(rect); }
HRESULT CAddIn::IsPageDirty() { return page_.isPageDirty(); }
HRESULT CAddIn::Apply() { return page_.apply(); }
HRESULT CAddIn::Help(LPCOLESTR helpDirectory) { return page_.help(helpDirectory); }
HRESULT CAddIn::TranslateAccelerator(MSG* message) { return page_.translateAccelerator(message); }
