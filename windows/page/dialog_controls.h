#pragma once

#include <windows.h>

#include "core/settings/page_controls.h"

namespace tagwright::com {

// The settings page's controls as the children of a Windows dialog,
// addressed by their dialog ids. Holds no resources: the dialog owns its
// controls.
class DialogControls final : public PageControls {
 public:
  void attach(HWND dialog) noexcept { dialog_ = dialog; }
  void detach() noexcept { dialog_ = nullptr; }

  void clearList(int list) override;
  void addListEntry(int list, std::u16string_view text) override;
  void selectListEntry(int list, std::int32_t index) override;
  std::int32_t listSelection(int list) const override;
  void setChecked(int button, bool checked) override;
  bool isChecked(int button) const override;
  void setText(int control, std::u16string_view text) override;
  std::u16string text(int control) const override;
  void setSpinRange(int spin, std::int32_t low, std::int32_t high) override;
  void setVisible(int control, bool visible) override;

 private:
  HWND item(int id) const noexcept { return ::GetDlgItem(dialog_, id); }
  LRESULT send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept {
    return ::SendDlgItemMessageW(dialog_, id, message, wParam, lParam);
  }

  HWND dialog_ = nullptr;
};

}  // namespace tagwright::com
