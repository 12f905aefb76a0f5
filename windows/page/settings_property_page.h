#pragma once

#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <vector>

#include "addin_interfaces.h"
#include "core/settings/settings_page.h"
#include "windows/com/com_ptr.h"
#include "windows/page/page_dialog.h"

namespace tagwright::com {

// The IPropertyPage side of the add-in object: the host's page site, the
// objects handed over, the dialog while the page is active and the page
// logic with its working copy of the settings. CAddIn forwards each
// IPropertyPage call here; every call returns a result code and lets no
// exception out.
class SettingsPropertyPage {
 public:
  explicit SettingsPropertyPage(HINSTANCE module) noexcept : module_(module) {}
  ~SettingsPropertyPage();
  SettingsPropertyPage(const SettingsPropertyPage&) = delete;
  SettingsPropertyPage& operator=(const SettingsPropertyPage&) = delete;

  HRESULT setPageSite(IPropertyPageSite* site) noexcept;
  HRESULT activate(HWND parent, LPCRECT rect, BOOL modal) noexcept;
  HRESULT deactivate() noexcept;
  HRESULT getPageInfo(PROPPAGEINFO* info) noexcept;
  HRESULT setObjects(ULONG count, IUnknown** objects) noexcept;
  HRESULT show(UINT command) noexcept;
  HRESULT move(LPCRECT rect) noexcept;
  HRESULT isPageDirty() noexcept;
  HRESULT apply() noexcept;
  HRESULT help(LPCOLESTR helpDirectory) noexcept;
  HRESULT translateAccelerator(MSG* message) noexcept;

 private:
  // Tells the host's site of the page's status changes.
  class SiteNotifier final : public PageSite {
   public:
    explicit SiteNotifier(SettingsPropertyPage& owner) : owner_(owner) {}
    void statusChanged(PageStatus status) override;

   private:
    SettingsPropertyPage& owner_;
  };

  // The dialog, when it exists and its parent has not destroyed it.
  HWND dialogWindow() const noexcept { return dialog_ ? dialog_->window() : nullptr; }
  // The first object's IPropertyLink; empty when it offers none.
  com_ptr<IPropertyLink> editedLink() const noexcept;

  HINSTANCE module_;
  com_ptr<IPropertyPageSite> site_;
  std::vector<com_ptr<IUnknown>> objects_;
  SettingsPage page_;
  SiteNotifier notifier_{*this};
  std::unique_ptr<PageDialog> dialog_;
};

}  // namespace tagwright::com
