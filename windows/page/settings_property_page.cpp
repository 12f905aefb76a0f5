#include "windows/page/settings_property_page.h"

#include <cstring>
#include <new>
#include <string>

#include "addin_interfaces.h"
#include "core/addin/catalogue.h"
#include "windows/com/com_barrier.h"
#include "windows/page/com_property_link.h"
#include "windows/page/dialog_template.h"
#include "windows/page/page_resource.h"

namespace tagwright::com {

namespace {

// A copy of `text` in task memory, for the caller to free.
LPOLESTR taskMemoryText(const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  auto* copy = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
  if (copy == nullptr) throw std::bad_alloc();
  std::memcpy(copy, text.c_str(), bytes);
  return copy;
}

}  // namespace

SettingsPropertyPage::~SettingsPropertyPage() {
  dialog_.reset();
  page_.setSite(nullptr);
}

void SettingsPropertyPage::SiteNotifier::statusChanged(PageStatus status) {
  if (!owner_.site_) return;
  DWORD flags = 0;
  if (status == PageStatus::Dirty) flags = PROPPAGESTATUS_DIRTY;
  if (status == PageStatus::Clean) flags = PROPPAGESTATUS_CLEAN;
  owner_.site_->OnStatusChange(flags);
}

com_ptr<IPropertyLink> SettingsPropertyPage::editedLink() const noexcept {
  if (objects_.empty()) return {};
  return queryInterface<IPropertyLink>(objects_.front().get());
}

HRESULT SettingsPropertyPage::setPageSite(IPropertyPageSite* site) noexcept {
  if (site == nullptr) {
    site_.reset();
    page_.setSite(nullptr);
    return S_OK;
  }
  if (site_) return E_UNEXPECTED;
  site_ = com_ptr<IPropertyPageSite>::copy(site);
  page_.setSite(&notifier_);
  return S_OK;
}

HRESULT SettingsPropertyPage::activate(HWND parent, LPCRECT rect, BOOL /*modal*/) noexcept {
  if (rect == nullptr) return E_POINTER;
  return guardComCall([&]() -> HRESULT {
    // A page activated twice shows one dialog, the new one.
    dialog_.reset();
    com_ptr<IPropertyLink> link = editedLink();
    if (link) {
      ComPropertyLink edited(*link.get(), page_.settings());
      dialog_ = std::make_unique<PageDialog>(module_, parent, page_, &edited);
    } else {
      dialog_ = std::make_unique<PageDialog>(module_, parent, page_, nullptr);
    }
    ::MoveWindow(dialog_->window(), rect->left, rect->top, rect->right - rect->left,
                 rect->bottom - rect->top, TRUE);
    return S_OK;
  });
}

HRESULT SettingsPropertyPage::deactivate() noexcept {
  dialog_.reset();
  return S_OK;
}

HRESULT SettingsPropertyPage::getPageInfo(PROPPAGEINFO* info) noexcept {
  if (info == nullptr) return E_POINTER;
  return guardComCall([&]() -> HRESULT {
    const auto dialog = findDialogTemplate(module_, IDD_SETTINGS_PAGE);
    if (!dialog) return E_UNEXPECTED;
    const std::wstring title = loadModuleString(module_, kPageTitleResource);
    PROPPAGEINFO filled{};
    filled.cb = sizeof(PROPPAGEINFO);
    filled.pszTitle = taskMemoryText(title);
    filled.size = dialogSizeInPixels(*dialog);
    filled.pszDocString = nullptr;
    filled.pszHelpFile = nullptr;
    filled.dwHelpContext = 0;
    *info = filled;
    return S_OK;
  });
}

HRESULT SettingsPropertyPage::setObjects(ULONG count, IUnknown** objects) noexcept {
  // No objects at all is how a frame lets go of them; it may pass no array.
  if (objects == nullptr && count != 0) return E_POINTER;
  return guardComCall([&]() -> HRESULT {
    std::vector<com_ptr<IUnknown>> kept;
    kept.reserve(count);
    for (ULONG i = 0; i < count; ++i) kept.push_back(com_ptr<IUnknown>::copy(objects[i]));
    objects_.swap(kept);
    return S_OK;
  });
}

HRESULT SettingsPropertyPage::show(UINT command) noexcept {
  HWND window = dialogWindow();
  if (window == nullptr) return E_UNEXPECTED;
  ::ShowWindow(window, static_cast<int>(command));
  return S_OK;
}

HRESULT SettingsPropertyPage::move(LPCRECT rect) noexcept {
  HWND window = dialogWindow();
  if (window == nullptr) return E_UNEXPECTED;
  if (rect == nullptr) return E_POINTER;
  ::MoveWindow(window, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               TRUE);
  return S_OK;
}

HRESULT SettingsPropertyPage::isPageDirty() noexcept { return page_.isDirty() ? S_OK : S_FALSE; }

HRESULT SettingsPropertyPage::apply() noexcept {
  return guardComCall([&]() -> HRESULT {
    com_ptr<IPropertyLink> link = editedLink();
    if (link) {
      ComPropertyLink edited(*link.get(), page_.settings());
      page_.apply(&edited);
    } else {
      page_.apply(nullptr);
    }
    return S_OK;
  });
}

HRESULT SettingsPropertyPage::help(LPCOLESTR /*helpDirectory*/) noexcept {
  // The page names no help file; the frame may offer its own help.
  return E_NOTIMPL;
}

HRESULT SettingsPropertyPage::translateAccelerator(MSG* message) noexcept {
  if (message == nullptr) return E_POINTER;
  HWND window = dialogWindow();
  if (window == nullptr) return S_FALSE;
  const bool keyboard = message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST;
  const bool mouse = message->message >= WM_MOUSEFIRST && message->message <= WM_MOUSELAST;
  if (!keyboard && !mouse) return S_FALSE;
  return ::IsDialogMessageW(window, message) ? S_OK : S_FALSE;
}

}  // namespace tagwright::com
