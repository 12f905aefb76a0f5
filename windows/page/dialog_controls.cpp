#include "windows/page/dialog_controls.h"

#include <commctrl.h>

#include <string>

namespace tagwright::com {

namespace {

// Windows wants the text zero-terminated.
std::wstring terminated(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

void DialogControls::clearList(int list) { send(list, CB_RESETCONTENT); }

void DialogControls::addListEntry(int list, std::u16string_view text) {
  const std::wstring entry = terminated(text);
  send(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void DialogControls::selectListEntry(int list, std::int32_t index) {
  const LRESULT count = send(list, CB_GETCOUNT);
  // A value no entry stands for leaves the list without a selection.
  const bool offered = index >= 0 && count != CB_ERR && index < count;
  send(list, CB_SETCURSEL, offered ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1));
}

std::int32_t DialogControls::listSelection(int list) const {
  const LRESULT selected = send(list, CB_GETCURSEL);
  return selected == CB_ERR ? -1 : static_cast<std::int32_t>(selected);
}

void DialogControls::setChecked(int button, bool checked) {
  ::CheckDlgButton(dialog_, button, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool DialogControls::isChecked(int button) const {
  return ::IsDlgButtonChecked(dialog_, button) == BST_CHECKED;
}

void DialogControls::setText(int control, std::u16string_view text) {
  ::SetDlgItemTextW(dialog_, control, terminated(text).c_str());
}

std::u16string DialogControls::text(int control) const {
  HWND window = item(control);
  if (window == nullptr) return {};
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
  buffer.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return std::u16string(buffer.begin(), buffer.end());
}

void DialogControls::setSpinRange(int spin, std::int32_t low, std::int32_t high) {
  send(spin, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void DialogControls::setVisible(int control, bool visible) {
  if (HWND window = item(control)) ::ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
}

}  // namespace tagwright::com
