// The host side of the settings page tests: the component created by its
// ProgID, a top-level window for the page to live in, a page site that
// records what the page tells it, and the user's hands on the page's
// controls, all through window messages.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <atomic>
#include <string>
#include <vector>

#include "tests/wine/host_interfaces.h"
#include "windows/com/com_ptr.h"

namespace page_tests {

using tagwright::com::com_ptr;

// The page site of a property frame, reduced to what a page may ask of it.
// It lives in the test and is never deleted through Release.
class RecordingSite final : public IPropertyPageSite {
 public:
  std::vector<DWORD> statusChanges;
  long references() const { return references_.load(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references_); }
  HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* locale) override;
  HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** container) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override;

 private:
  std::atomic<long> references_{0};
};

// An object that offers nothing but IUnknown: edited, it gives the page no
// IPropertyLink.
class PlainObject final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

// The add-in object as the host sees it: its language extension (to set and
// read properties by name) and its property page.
class Component {
 public:
  Component();
  bool created() const { return extender_ && page_; }
  IUnknown* object() const { return object_.get(); }
  IPropertyPage& page() const { return *page_.get(); }

  HRESULT setProperty(const wchar_t* name, long value);
  long property(const wchar_t* name);

  // The printer group (port, speed, darkness, stripper, cutter, transfer) as
  // the page exchanges it through the component's property link; it can hold
  // values that the script properties would replace by their fallbacks.
  struct PrinterGroup {
    long port, speed, darkness, stripper, cutter, transfer;
  };
  HRESULT setPrinterGroup(const PrinterGroup& group);
  PrinterGroup printerGroup();

  void release();

 private:
  long propertyNumber(const wchar_t* name);

  com_ptr<IUnknown> object_;
  com_ptr<host::IInitDone> initDone_;
  com_ptr<host::ILanguageExtender> extender_;
  com_ptr<host::IPropertyLink> link_;
  com_ptr<IPropertyPage> page_;
};

// A visible top-level window of the test's own for the page to be a child of.
class HostWindow {
 public:
  HostWindow(int width, int height);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// Dispatches whatever is waiting in the thread's queue.
void pumpMessages();

// The user's hands on a dialog's controls.
class PageDriver {
 public:
  explicit PageDriver(HWND dialog) : dialog_(dialog) {}
  HWND item(int id) const { return GetDlgItem(dialog_, id); }

  std::wstring text(int id) const;
  bool checked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
  bool visible(int id) const { return IsWindowVisible(item(id)) != FALSE; }
  int selection(int id) const;

  void focus(int id) { SetFocus(item(id)); }
  // Replaces the edit's text the way a paste does (WM_SETTEXT, which makes
  // the edit report a change), keeping the focus in it.
  void replaceText(int id, const std::wstring& text);
  // Types characters into the edit after selecting its whole text.
  void type(int id, const std::wstring& characters);
  // Presses and releases a key in the control that has the focus.
  void press(int id, WPARAM key);
  void click(int id);
  // Picks a list entry the way the mouse does: the selection moves and the
  // list tells its parent.
  void choose(int id, int index);

 private:
  HWND dialog_;
};

}  // namespace page_tests
