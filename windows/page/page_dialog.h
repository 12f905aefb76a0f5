#pragma once

#include <windows.h>

#include "core/settings/page_controls.h"
#include "core/settings/printer_settings.h"
#include "core/settings/settings_page.h"
#include "windows/page/dialog_controls.h"

namespace tagwright::com {

// Opens the product's web page and a new support mail through the shell; the
// addresses come from the module's string table.
class ShellLinks final : public PageLinks {
 public:
  void attach(HINSTANCE module, HWND owner) noexcept {
    module_ = module;
    owner_ = owner;
  }
  void openWebPage() override;
  void openSupportMail() override;

 private:
  HINSTANCE module_ = nullptr;
  HWND owner_ = nullptr;
};

// The settings page's dialog window: made from template 202 as a child of
// the host's window, filled by the page logic on creation, and feeding the
// page logic with what happens to its controls. Destroying it (or the
// parent's destroying it) lets the page logic go of the controls.
class PageDialog {
 public:
  // Creates and fills the dialog; `edited` is read during creation only.
  // Throws std::runtime_error when the window cannot be made.
  PageDialog(HINSTANCE module, HWND parent, SettingsPage& page, PropertyLink* edited);
  ~PageDialog();
  PageDialog(const PageDialog&) = delete;
  PageDialog& operator=(const PageDialog&) = delete;

  // Null once the window is gone (also when its parent destroyed it).
  HWND window() const noexcept { return window_; }

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onInit(HWND window);
  void onCommand(int control, UINT notification);
  void onDestroy() noexcept;
  // The line under the port list: the selected port's device map entry.
  void showPortTarget();

  HINSTANCE module_;
  SettingsPage& page_;
  PropertyLink* edited_;
  HWND window_ = nullptr;
  bool filled_ = false;
  DialogControls controls_;
  ShellLinks links_;
};

// Loads a string of the module's string table; empty when there is none.
std::wstring loadModuleString(HINSTANCE module, UINT id);

}  // namespace tagwright::com
