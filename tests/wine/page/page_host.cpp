#include "tests/wine/page/page_host.h"

#include <oleauto.h>

#include "windows/com/unique_bstr.h"

namespace page_tests {

HRESULT RecordingSite::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyPageSite)) {
    *object = static_cast<IPropertyPageSite*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT RecordingSite::OnStatusChange(DWORD flags) {
  statusChanges.push_back(flags);
  return S_OK;
}

HRESULT RecordingSite::GetLocaleID(LCID* locale) {
  if (locale == nullptr) return E_POINTER;
  *locale = GetUserDefaultLCID();
  return S_OK;
}

HRESULT RecordingSite::GetPageContainer(IUnknown** container) {
  if (container != nullptr) *container = nullptr;
  return E_NOTIMPL;
}

HRESULT RecordingSite::TranslateAccelerator(MSG*) { return S_FALSE; }

HRESULT PlainObject::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown)) {
    *object = static_cast<IUnknown*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

Component::Component() {
  CLSID classId{};
  if (FAILED(CLSIDFromProgID(host::kProgId, &classId))) return;
  if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                              object_.put_void()))) {
    object_.reset();
    return;
  }
  initDone_ = tagwright::com::queryInterface<host::IInitDone>(object_.get());
  extender_ = tagwright::com::queryInterface<host::ILanguageExtender>(object_.get());
  link_ = tagwright::com::queryInterface<host::IPropertyLink>(object_.get());
  page_ = tagwright::com::queryInterface<IPropertyPage>(object_.get());
  // A host without a settings store: the object keeps its defaults.
  if (initDone_) initDone_->Init(nullptr);
}

long Component::propertyNumber(const wchar_t* name) {
  long number = -1;
  auto text = tagwright::com::makeBstr(
      std::u16string_view(reinterpret_cast<const char16_t*>(name), wcslen(name)));
  extender_->FindProp(text.get(), &number);
  return number;
}

HRESULT Component::setProperty(const wchar_t* name, long value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return extender_->SetPropVal(propertyNumber(name), &v);
}

long Component::property(const wchar_t* name) {
  VARIANT v;
  VariantInit(&v);
  const HRESULT result = extender_->GetPropVal(propertyNumber(name), &v);
  const long value = (result == S_OK && v.vt == VT_I4) ? v.lVal : -99999;
  VariantClear(&v);
  return value;
}

HRESULT Component::setPrinterGroup(const PrinterGroup& g) {
  if (!link_) return E_NOINTERFACE;
  return link_->SetPrinterGroup(g.port, g.speed, g.darkness, g.stripper, g.cutter, g.transfer);
}

Component::PrinterGroup Component::printerGroup() {
  PrinterGroup g{-99, -99, -99, -99, -99, -99};
  if (link_) {
    link_->GetPrinterGroup(&g.port, &g.speed, &g.darkness, &g.stripper, &g.cutter, &g.transfer);
  }
  return g;
}

void Component::release() {
  if (initDone_) initDone_->Done();
  page_.reset();
  link_.reset();
  extender_.reset();
  initDone_.reset();
  object_.reset();
}

namespace {

LRESULT CALLBACK hostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* hostWindowClass() {
  static const wchar_t* name = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = &hostWindowProcedure;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    c.lpszClassName = L"TagwrightPageHost";
    RegisterClassW(&c);
    return L"TagwrightPageHost";
  }();
  return name;
}

}  // namespace

HostWindow::HostWindow(int width, int height) {
  RECT frame{0, 0, width, height};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, hostWindowClass(), L"Принтер этикеток", style, 0,
                            0, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  pumpMessages();
}

HostWindow::~HostWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  pumpMessages();
}

void pumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::wstring PageDriver::text(int id) const {
  wchar_t buffer[256] = {};
  GetDlgItemTextW(dialog_, id, buffer, 256);
  return buffer;
}

int PageDriver::selection(int id) const {
  return static_cast<int>(SendDlgItemMessageW(dialog_, id, CB_GETCURSEL, 0, 0));
}

void PageDriver::replaceText(int id, const std::wstring& text) {
  focus(id);
  SendMessageW(item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PageDriver::type(int id, const std::wstring& characters) {
  focus(id);
  SendMessageW(item(id), EM_SETSEL, 0, -1);
  for (wchar_t c : characters) SendMessageW(item(id), WM_CHAR, c, 1);
}

void PageDriver::press(int id, WPARAM key) {
  focus(id);
  SendMessageW(item(id), WM_KEYDOWN, key, 1);
  SendMessageW(item(id), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void PageDriver::click(int id) { SendMessageW(item(id), BM_CLICK, 0, 0); }

void PageDriver::choose(int id, int index) {
  focus(id);
  SendDlgItemMessageW(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(item(id)));
}

}  // namespace page_tests
