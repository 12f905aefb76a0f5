#include "windows/page/page_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <stdexcept>
#include <string>

#include "core/settings/page_ids.h"
#include "windows/page/page_resource.h"
#include "windows/page/port_target_line.h"

namespace tagwright::com {

// The resource script cannot include the core's C++ header, so it has ids of
// its own; they must be the ones the page logic addresses.
static_assert(IDC_PORT == page_id::kPortList && IDC_SPEED == page_id::kSpeedList &&
              IDC_DARKNESS == page_id::kDarknessList &&
              IDC_BARCODE_WIDTH == page_id::kBarcodeWidthList);
static_assert(IDC_STRIPPER == page_id::kStripperBox && IDC_CUTTER == page_id::kCutterBox &&
              IDC_ROTATE == page_id::kRotateBox && IDC_READABLE == page_id::kReadableBox);
static_assert(IDC_DIRECT_THERMAL == page_id::kDirectThermalRadio &&
              IDC_THERMAL_TRANSFER == page_id::kThermalTransferRadio &&
              IDC_GAP_LABELS == page_id::kGapLabelsRadio &&
              IDC_CONTINUOUS_TAPE == page_id::kContinuousTapeRadio &&
              IDC_BLACK_MARK == page_id::kBlackMarkRadio &&
              IDC_RATIO_2_1 == page_id::kRatio2To1Radio &&
              IDC_RATIO_3_1 == page_id::kRatio3To1Radio &&
              IDC_RATIO_5_2 == page_id::kRatio5To2Radio);
static_assert(IDC_CUTTER_COUNT == page_id::kCutterCountEdit &&
              IDC_CUTTER_COUNT_SPIN == page_id::kCutterCountSpin &&
              IDC_LABEL_HEIGHT == page_id::kLabelHeightEdit &&
              IDC_LABEL_HEIGHT_SPIN == page_id::kLabelHeightSpin &&
              IDC_LABEL_WIDTH == page_id::kLabelWidthEdit &&
              IDC_LABEL_WIDTH_SPIN == page_id::kLabelWidthSpin &&
              IDC_LEFT_OFFSET == page_id::kLeftOffsetEdit &&
              IDC_LEFT_OFFSET_SPIN == page_id::kLeftOffsetSpin &&
              IDC_TOP_OFFSET == page_id::kTopOffsetEdit &&
              IDC_TOP_OFFSET_SPIN == page_id::kTopOffsetSpin &&
              IDC_STOP_POSITION == page_id::kStopPositionEdit &&
              IDC_STOP_POSITION_SPIN == page_id::kStopPositionSpin &&
              IDC_MEDIA_LENGTH == page_id::kMediaLengthEdit &&
              IDC_MEDIA_LENGTH_SPIN == page_id::kMediaLengthSpin &&
              IDC_BLACK_MARK_OFFSET == page_id::kBlackMarkOffsetEdit &&
              IDC_BLACK_MARK_OFFSET_SPIN == page_id::kBlackMarkOffsetSpin);
static_assert(IDC_MEDIA_LENGTH_CAPTION == page_id::kMediaLengthCaption &&
              IDC_BLACK_MARK_OFFSET_CAPTION == page_id::kBlackMarkOffsetCaption &&
              IDC_BLACK_MARK_OFFSET_UNIT == page_id::kBlackMarkOffsetUnit &&
              IDC_WEB_PAGE == page_id::kWebPageButton &&
              IDC_SUPPORT_MAIL == page_id::kSupportMailButton);

std::wstring loadModuleString(HINSTANCE module, UINT id) {
  // With no buffer, LoadStringW hands out the resource's own characters.
  const wchar_t* text = nullptr;
  const int length = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || text == nullptr) return {};
  return std::wstring(text, static_cast<std::size_t>(length));
}

void ShellLinks::openWebPage() {
  const std::wstring address = loadModuleString(module_, IDS_WEB_ADDRESS);
  if (address.empty()) return;
  ::ShellExecuteW(owner_, L"open", address.c_str(), nullptr, nullptr, SW_RESTORE);
}

void ShellLinks::openSupportMail() {
  const std::wstring address = loadModuleString(module_, IDS_SUPPORT_MAIL);
  if (address.empty()) return;
  const std::wstring target = L"mailto:" + address;
  ::ShellExecuteW(owner_, L"open", target.c_str(), nullptr, nullptr, SW_RESTORE);
}

PageDialog::PageDialog(HINSTANCE module, HWND parent, SettingsPage& page, PropertyLink* edited)
    : module_(module), page_(page), edited_(edited) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_UPDOWN_CLASS};
  ::InitCommonControlsEx(&classes);
  HWND made = ::CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_SETTINGS_PAGE), parent,
                                   &PageDialog::procedure, reinterpret_cast<LPARAM>(this));
  edited_ = nullptr;
  if (made != nullptr && !filled_) {
    ::DestroyWindow(made);
    made = nullptr;
  }
  if (made == nullptr) throw std::runtime_error("the settings dialog cannot be made");
}

PageDialog::~PageDialog() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

INT_PTR CALLBACK PageDialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Nothing may be thrown through the window manager's frames.
  try {
    if (message == WM_INITDIALOG) {
      auto* self = reinterpret_cast<PageDialog*>(lParam);
      ::SetWindowLongPtrW(window, DWLP_USER, lParam);
      self->onInit(window);
      return FALSE;  // the host's frame decides where the focus goes
    }
    auto* self = reinterpret_cast<PageDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) return FALSE;
    return self->onMessage(message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

void PageDialog::onInit(HWND window) {
  window_ = window;
  controls_.attach(window);
  links_.attach(module_, window);
  // The link buttons show the addresses they open.
  for (int id : {IDS_WEB_ADDRESS, IDS_SUPPORT_MAIL}) {
    ::SetDlgItemTextW(window, id, loadModuleString(module_, static_cast<UINT>(id)).c_str());
  }
  page_.activate(controls_, links_, edited_);
  filled_ = true;
  showPortTarget();
}

void PageDialog::showPortTarget() {
  const auto index =
      static_cast<std::int32_t>(::SendDlgItemMessageW(window_, IDC_PORT, CB_GETCURSEL, 0, 0));
  ::SetDlgItemTextW(window_, IDC_PORT_TARGET, portTargetLine(index).c_str());
}

INT_PTR PageDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Only notifications from controls: menu and accelerator commands
      // (Enter and Escape among them) come without a control window.
      if (lParam != 0) onCommand(LOWORD(wParam), HIWORD(wParam));
      return FALSE;
    case WM_STYLECHANGING:
      // Whatever the host does to the extended style, the page stays a
      // control parent, so that tabbing goes into it.
      if (wParam == static_cast<WPARAM>(GWL_EXSTYLE)) {
        reinterpret_cast<STYLESTRUCT*>(lParam)->styleNew |= WS_EX_CONTROLPARENT;
      }
      return FALSE;
    case WM_DESTROY: onDestroy(); return FALSE;
    default: return FALSE;
  }
}

void PageDialog::onCommand(int control, UINT notification) {
  switch (notification) {
    case BN_CLICKED: page_.handle(control, PageEvent::Clicked); break;
    case CBN_SELCHANGE:
      page_.handle(control, PageEvent::SelectionChanged);
      if (control == IDC_PORT) showPortTarget();
      break;
    case EN_CHANGE: page_.handle(control, PageEvent::TextChanged); break;
    case EN_SETFOCUS: page_.handle(control, PageEvent::FocusGained); break;
    case EN_KILLFOCUS: page_.handle(control, PageEvent::FocusLost); break;
    default: break;
  }
}

void PageDialog::onDestroy() noexcept {
  // The controls still exist while their parent hears of its destruction:
  // the page takes what they show before letting go of them.
  try {
    page_.deactivate();
  } catch (...) {
  }
  controls_.detach();
  window_ = nullptr;
}

}  // namespace tagwright::com
