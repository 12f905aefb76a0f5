// The settings page of the real component, in a window of the test's own,
// driven through window messages as a user's keyboard and mouse drive it.
#include <windows.h>
#include <commctrl.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/page/page_host.h"
#include "windows/page/page_resource.h"

namespace page_tests {
namespace {

// One value of a device map in the registry, there for as long as it lives.
class MapEntry {
 public:
  MapEntry(HKEY hive, const wchar_t* port, const std::wstring& target) : hive_(hive), port_(port) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(hive, L"Software\\Tagwright\\Devices", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return;
    }
    made_ =
        RegSetValueExW(key, port, 0, REG_SZ, reinterpret_cast<const BYTE*>(target.c_str()),
                       static_cast<DWORD>((target.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  ~MapEntry() { RegDeleteKeyValueW(hive_, L"Software\\Tagwright\\Devices", port_); }
  MapEntry(const MapEntry&) = delete;
  MapEntry& operator=(const MapEntry&) = delete;
  bool made() const { return made_; }

 private:
  HKEY hive_;
  const wchar_t* port_;
  bool made_ = false;
};

class SettingsPageWine : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(component.created()) << "no component by ProgID"; }
  void TearDown() override {
    if (!component.created()) return;
    page().Deactivate();
    page().SetObjects(0, nullptr);
    page().SetPageSite(nullptr);
    component.release();
  }

  IPropertyPage& page() { return component.page(); }

  // Gives the page the site and the component itself as the edited object,
  // activates it in the host window and shows it; returns the dialog.
  HWND activate() {
    if (site.references() == 0) {
      EXPECT_EQ(page().SetPageSite(&site), S_OK);
    }
    IUnknown* objects[] = {component.object()};
    EXPECT_EQ(page().SetObjects(1, objects), S_OK);
    RECT place{0, 0, 600, 560};
    EXPECT_EQ(page().Activate(host.get(), &place, TRUE), S_OK);
    EXPECT_EQ(page().Show(SW_SHOW), S_OK);
    pumpMessages();
    return dialog();
  }
  HWND dialog() const { return FindWindowExW(host.get(), nullptr, L"#32770", nullptr); }

  // Outlive the component, which may hold them until TearDown.
  RecordingSite site;
  PlainObject plain;
  Component component;
  HostWindow host{600, 560};
};

TEST_F(SettingsPageWine, PageInfoGivesTheTitleAndTheTemplateSizeInPixels) {
  EXPECT_EQ(page().GetPageInfo(nullptr), E_POINTER);
  PROPPAGEINFO info{};
  info.cb = sizeof(info);
  ASSERT_EQ(page().GetPageInfo(&info), S_OK);
  ASSERT_NE(info.pszTitle, nullptr);
  EXPECT_EQ(std::wstring(info.pszTitle), L"Принтер этикеток");
  EXPECT_EQ(info.pszDocString, nullptr);
  EXPECT_EQ(info.pszHelpFile, nullptr);
  EXPECT_EQ(info.dwHelpContext, 0u);
  CoTaskMemFree(info.pszTitle);

  // The dialog itself converts 260 by 268 units with its own font.
  HWND window = activate();
  ASSERT_NE(window, nullptr);
  RECT units{0, 0, 260, 268};
  ASSERT_TRUE(MapDialogRect(window, &units));
  EXPECT_EQ(info.size.cx, units.right);
  EXPECT_EQ(info.size.cy, units.bottom);
  EXPECT_GT(info.size.cx, 260);
}

TEST_F(SettingsPageWine, SiteShowMoveAndDeactivateAnswerAsAPageMust) {
  RecordingSite other;
  EXPECT_EQ(page().SetPageSite(&site), S_OK);
  EXPECT_EQ(site.references(), 1);
  EXPECT_EQ(page().SetPageSite(&other), E_UNEXPECTED);
  EXPECT_EQ(other.references(), 0);

  RECT place{10, 20, 410, 420};
  EXPECT_EQ(page().Show(SW_SHOW), E_UNEXPECTED);
  EXPECT_EQ(page().Move(&place), E_UNEXPECTED);
  EXPECT_EQ(page().Activate(host.get(), nullptr, TRUE), E_POINTER);
  EXPECT_EQ(dialog(), nullptr);

  HWND window = activate();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  // Filling is no edit of the user's: the site only hears "look again".
  EXPECT_EQ(site.statusChanges, std::vector<DWORD>{0});
  EXPECT_EQ(page().IsPageDirty(), S_FALSE);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION, 0);

  EXPECT_EQ(page().Move(&place), S_OK);
  RECT now{};
  GetWindowRect(window, &now);
  MapWindowPoints(HWND_DESKTOP, host.get(), reinterpret_cast<POINT*>(&now), 2);
  EXPECT_EQ(now.left, 10);
  EXPECT_EQ(now.top, 20);
  EXPECT_EQ(now.right - now.left, 400);
  EXPECT_EQ(now.bottom - now.top, 400);
  EXPECT_EQ(page().Show(SW_HIDE), S_OK);
  EXPECT_FALSE(IsWindowVisible(window));

  EXPECT_EQ(page().Deactivate(), S_OK);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(page().Show(SW_SHOW), E_UNEXPECTED);
  EXPECT_EQ(page().Move(&place), E_UNEXPECTED);

  // A site is given up with null; only then may another take its place.
  EXPECT_EQ(page().SetPageSite(nullptr), S_OK);
  EXPECT_EQ(site.references(), 0);
  EXPECT_EQ(page().SetPageSite(&other), S_OK);
  EXPECT_EQ(other.references(), 1);
  EXPECT_EQ(page().SetPageSite(nullptr), S_OK);
}

TEST_F(SettingsPageWine, ActivationFillsTheControlsFromTheComponentsProperties) {
  ASSERT_EQ(component.setProperty(L"NumberPort", 12), S_OK);
  ASSERT_EQ(component.setProperty(L"Speed", 5), S_OK);
  ASSERT_EQ(component.setProperty(L"Darkness", 7), S_OK);
  ASSERT_EQ(component.setProperty(L"Cutter", 4), S_OK);
  ASSERT_EQ(component.setProperty(L"LabelTopMargin", -12), S_OK);
  ASSERT_EQ(component.setProperty(L"LabelType", 2), S_OK);
  ASSERT_EQ(component.setProperty(L"BlackMarkLenght", 6), S_OK);
  ASSERT_EQ(component.setProperty(L"BlackMarkPosition", 3), S_OK);
  ASSERT_EQ(component.setProperty(L"BarcodeNarrow", 1), S_OK);
  ASSERT_EQ(component.setProperty(L"Termotransfer", 1), S_OK);
  PageDriver user(activate());

  EXPECT_EQ(user.selection(IDC_PORT), 12);
  wchar_t usb[64] = {};
  SendDlgItemMessageW(GetParent(user.item(IDC_PORT)), IDC_PORT, CB_GETLBTEXT, 12,
                      reinterpret_cast<LPARAM>(usb));
  EXPECT_EQ(std::wstring(usb), L"USB (серия Plus)");
  EXPECT_EQ(user.selection(IDC_SPEED), 3);
  EXPECT_EQ(user.selection(IDC_DARKNESS), 7);
  EXPECT_EQ(user.selection(IDC_BARCODE_WIDTH), 1);
  EXPECT_TRUE(user.checked(IDC_CUTTER));
  EXPECT_FALSE(user.checked(IDC_STRIPPER));
  EXPECT_EQ(user.text(IDC_CUTTER_COUNT), L"4");
  EXPECT_EQ(user.text(IDC_LABEL_HEIGHT), L"25");
  EXPECT_EQ(user.text(IDC_LABEL_WIDTH), L"43");
  EXPECT_EQ(user.text(IDC_TOP_OFFSET), L"-12");
  EXPECT_TRUE(user.checked(IDC_BLACK_MARK));
  EXPECT_EQ(user.text(IDC_MEDIA_LENGTH_CAPTION), L"Длина черной метки :");
  EXPECT_EQ(user.text(IDC_MEDIA_LENGTH), L"6");
  EXPECT_EQ(user.text(IDC_BLACK_MARK_OFFSET), L"3");
  EXPECT_TRUE(user.visible(IDC_BLACK_MARK_OFFSET));
  EXPECT_TRUE(user.checked(IDC_RATIO_3_1));
  EXPECT_TRUE(user.checked(IDC_READABLE));
  EXPECT_TRUE(user.checked(IDC_THERMAL_TRANSFER));
  EXPECT_FALSE(user.checked(IDC_DIRECT_THERMAL));
  EXPECT_EQ(user.text(IDC_WEB_PAGE), L"https://tagwright.example.org");
  EXPECT_EQ(user.text(IDC_SUPPORT_MAIL), L"support@tagwright.example.org");
  // Each spin box found its edit and its range.
  EXPECT_EQ(
      reinterpret_cast<HWND>(SendMessageW(user.item(IDC_TOP_OFFSET_SPIN), UDM_GETBUDDY, 0, 0)),
      user.item(IDC_TOP_OFFSET));
  int low = 0, high = 0;
  SendMessageW(user.item(IDC_LEFT_OFFSET_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
               reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 5);
  EXPECT_EQ(high, 9999);
}

TEST_F(SettingsPageWine, TemplateGivesEveryControlItsKindAndStyle) {
  HWND window = activate();
  ASSERT_NE(window, nullptr);
  struct Spin {
    int edit;
    int spin;
  };
  const Spin spins[] = {
      {IDC_CUTTER_COUNT, IDC_CUTTER_COUNT_SPIN},
      {IDC_LABEL_HEIGHT, IDC_LABEL_HEIGHT_SPIN},
      {IDC_LABEL_WIDTH, IDC_LABEL_WIDTH_SPIN},
      {IDC_LEFT_OFFSET, IDC_LEFT_OFFSET_SPIN},
      {IDC_TOP_OFFSET, IDC_TOP_OFFSET_SPIN},
      {IDC_STOP_POSITION, IDC_STOP_POSITION_SPIN},
      {IDC_MEDIA_LENGTH, IDC_MEDIA_LENGTH_SPIN},
      {IDC_BLACK_MARK_OFFSET, IDC_BLACK_MARK_OFFSET_SPIN},
  };
  const LONG_PTR editStyle = ES_NUMBER | ES_AUTOHSCROLL;
  const LONG_PTR spinStyle =
      UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  wchar_t kind[64] = {};
  for (const Spin& s : spins) {
    HWND edit = GetDlgItem(window, s.edit);
    HWND spin = GetDlgItem(window, s.spin);
    ASSERT_NE(edit, nullptr) << s.edit;
    ASSERT_NE(spin, nullptr) << s.spin;
    GetClassNameW(edit, kind, 64);
    EXPECT_EQ(_wcsicmp(kind, L"Edit"), 0) << s.edit;
    EXPECT_EQ(GetWindowLongPtrW(edit, GWL_STYLE) & editStyle, editStyle) << s.edit;
    // An edit shows its border as a sunken client edge once it is made.
    EXPECT_TRUE((GetWindowLongPtrW(edit, GWL_STYLE) & WS_BORDER) != 0 ||
                (GetWindowLongPtrW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0)
        << s.edit;
    GetClassNameW(spin, kind, 64);
    EXPECT_EQ(std::wstring(kind), UPDOWN_CLASSW) << s.spin;
    EXPECT_EQ(GetWindowLongPtrW(spin, GWL_STYLE) & spinStyle, spinStyle) << s.spin;
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), edit) << s.spin;
  }
  for (int list : {IDC_PORT, IDC_SPEED, IDC_DARKNESS, IDC_BARCODE_WIDTH}) {
    HWND combo = GetDlgItem(window, list);
    ASSERT_NE(combo, nullptr) << list;
    EXPECT_EQ(GetWindowLongPtrW(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST) << list;
  }
  EXPECT_NE(GetWindowLongPtrW(GetDlgItem(window, IDC_SPEED), GWL_STYLE) & CBS_SORT, 0);
  for (int button : {IDC_STRIPPER, IDC_CUTTER, IDC_ROTATE, IDC_READABLE}) {
    EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(window, button), GWL_STYLE) & BS_TYPEMASK,
              BS_AUTOCHECKBOX)
        << button;
  }
  for (int radio : {IDC_DIRECT_THERMAL, IDC_THERMAL_TRANSFER, IDC_GAP_LABELS, IDC_CONTINUOUS_TAPE,
                    IDC_BLACK_MARK, IDC_RATIO_2_1, IDC_RATIO_3_1, IDC_RATIO_5_2}) {
    EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(window, radio), GWL_STYLE) & BS_TYPEMASK,
              BS_AUTORADIOBUTTON)
        << radio;
  }
}

TEST_F(SettingsPageWine, AHostThatDestroysItsWindowFirstLosesNoEdit) {
  {
    HostWindow frame(600, 560);
    IUnknown* objects[] = {component.object()};
    ASSERT_EQ(page().SetObjects(1, objects), S_OK);
    RECT place{0, 0, 600, 560};
    ASSERT_EQ(page().Activate(frame.get(), &place, TRUE), S_OK);
    PageDriver user(FindWindowExW(frame.get(), nullptr, L"#32770", nullptr));
    user.choose(IDC_DARKNESS, 12);
    user.type(IDC_LABEL_WIDTH, L"61");
  }
  EXPECT_EQ(page().Show(SW_SHOW), E_UNEXPECTED);
  EXPECT_EQ(page().IsPageDirty(), S_OK);
  EXPECT_EQ(page().Deactivate(), S_OK);
  EXPECT_EQ(page().Apply(), S_OK);
  EXPECT_EQ(component.property(L"Darkness"), 12);
  EXPECT_EQ(component.property(L"LabelWidth"), 61);
}

TEST_F(SettingsPageWine, EditsClampWhenLeftAndApplyReachesTheComponent) {
  ASSERT_EQ(component.setProperty(L"LabelType", 2), S_OK);
  ASSERT_EQ(component.setProperty(L"Stripper", 1), S_OK);
  PageDriver user(activate());
  site.statusChanges.clear();

  user.click(IDC_GAP_LABELS);
  EXPECT_EQ(page().IsPageDirty(), S_OK);
  EXPECT_EQ(user.text(IDC_MEDIA_LENGTH_CAPTION), L"Зазор между этикетками :");
  EXPECT_EQ(user.text(IDC_MEDIA_LENGTH), L"3");
  EXPECT_FALSE(user.visible(IDC_BLACK_MARK_OFFSET));
  EXPECT_FALSE(user.visible(IDC_BLACK_MARK_OFFSET_SPIN));
  EXPECT_FALSE(user.visible(IDC_BLACK_MARK_OFFSET_CAPTION));
  EXPECT_FALSE(user.visible(IDC_BLACK_MARK_OFFSET_UNIT));

  user.type(IDC_MEDIA_LENGTH, L"300");
  user.focus(IDC_LABEL_HEIGHT);
  EXPECT_EQ(user.text(IDC_MEDIA_LENGTH), L"255");
  user.type(IDC_STOP_POSITION, L"50");
  user.focus(IDC_LABEL_HEIGHT);
  EXPECT_EQ(user.text(IDC_STOP_POSITION), L"40");
  user.replaceText(IDC_TOP_OFFSET, L"-35");
  user.press(IDC_TOP_OFFSET, VK_DOWN);
  user.press(IDC_TOP_OFFSET, VK_DOWN);
  EXPECT_EQ(user.text(IDC_TOP_OFFSET), L"-36");
  user.replaceText(IDC_LEFT_OFFSET, L"6");
  for (int i = 0; i < 3; ++i) user.press(IDC_LEFT_OFFSET, VK_DOWN);
  EXPECT_EQ(user.text(IDC_LEFT_OFFSET), L"5");
  user.type(IDC_LEFT_OFFSET, L"0");
  user.focus(IDC_LABEL_HEIGHT);
  EXPECT_EQ(user.text(IDC_LEFT_OFFSET), L"0");
  // Past a thousand the arrows still write a number the page can read.
  user.replaceText(IDC_LABEL_HEIGHT, L"999");
  user.press(IDC_LABEL_HEIGHT, VK_UP);
  EXPECT_EQ(user.text(IDC_LABEL_HEIGHT), L"1000");

  // The stripper and the cutter exclude each other.
  user.click(IDC_CUTTER);
  EXPECT_EQ(user.text(IDC_CUTTER_COUNT), L"1");
  EXPECT_FALSE(user.checked(IDC_STRIPPER));
  user.click(IDC_STRIPPER);
  EXPECT_EQ(user.text(IDC_CUTTER_COUNT), L"0");
  EXPECT_FALSE(user.checked(IDC_CUTTER));
  user.focus(IDC_CUTTER_COUNT);
  EXPECT_TRUE(user.checked(IDC_CUTTER));
  EXPECT_FALSE(user.checked(IDC_STRIPPER));
  user.focus(IDC_LABEL_WIDTH);
  EXPECT_EQ(user.text(IDC_CUTTER_COUNT), L"1");

  user.choose(IDC_PORT, 4);
  user.choose(IDC_SPEED, 2);
  user.click(IDC_RATIO_5_2);
  user.click(IDC_READABLE);
  user.click(IDC_ROTATE);
  EXPECT_EQ(site.statusChanges, std::vector<DWORD>{PROPPAGESTATUS_DIRTY});

  EXPECT_EQ(page().Apply(), S_OK);
  EXPECT_EQ(page().IsPageDirty(), S_FALSE);
  EXPECT_EQ(site.statusChanges, (std::vector<DWORD>{PROPPAGESTATUS_DIRTY, PROPPAGESTATUS_CLEAN}));

  struct Expected {
    const wchar_t* property;
    long value;
  };
  const Expected expected[] = {
      {L"NumberPort", 4},      {L"Speed", 4},          {L"LabelType", 0},
      {L"GapLenght", 255},     {L"StopPosition", 40},  {L"LabelTopMargin", -36},
      {L"LabelLeftMargin", 0}, {L"LabelHeight", 1000}, {L"Cutter", 1},
      {L"Stripper", 0},        {L"BarcodeNarrow", 2},  {L"BarcodeReadable", 0},
      {L"LabelRotate", 1},     {L"LabelWidth", 43},    {L"Termotransfer", 0},
  };
  for (const Expected& e : expected) {
    EXPECT_EQ(component.property(e.property), e.value)
        << std::string(e.property, e.property + wcslen(e.property));
  }
}

// Stored values that no list offers (speed 7 stores 5, darkness 20, port 13)
// show as no selection and survive an Apply with nothing touched; an entry
// that the user picks is applied as its index.
TEST_F(SettingsPageWine, ValuesTheListsCannotShowSurviveAnUntouchedApply) {
  ASSERT_EQ(component.setProperty(L"Speed", 7), S_OK);
  ASSERT_EQ(component.setProperty(L"Darkness", 20), S_OK);
  Component::PrinterGroup stored = component.printerGroup();
  ASSERT_EQ(stored.speed, 5);
  ASSERT_EQ(stored.darkness, 20);
  stored.port = 13;
  ASSERT_EQ(component.setPrinterGroup(stored), S_OK);

  PageDriver user(activate());
  EXPECT_EQ(user.selection(IDC_PORT), -1);
  EXPECT_EQ(user.selection(IDC_SPEED), -1);
  EXPECT_EQ(user.selection(IDC_DARKNESS), -1);
  EXPECT_EQ(page().Apply(), S_OK);
  Component::PrinterGroup applied = component.printerGroup();
  EXPECT_EQ(applied.port, 13);
  EXPECT_EQ(applied.speed, 5);
  EXPECT_EQ(applied.darkness, 20);
  EXPECT_EQ(component.property(L"Speed"), 7);

  user.choose(IDC_SPEED, 1);
  user.choose(IDC_PORT, 3);
  EXPECT_EQ(page().Apply(), S_OK);
  applied = component.printerGroup();
  EXPECT_EQ(applied.speed, 1);
  EXPECT_EQ(applied.port, 3);
  EXPECT_EQ(applied.darkness, 20);
}

TEST_F(SettingsPageWine, ApplyTakesTheLengthStillBeingTyped) {
  ASSERT_EQ(component.setProperty(L"LabelType", 1), S_OK);
  ASSERT_EQ(component.setProperty(L"GapLenght", 4), S_OK);
  PageDriver user(activate());
  user.type(IDC_MEDIA_LENGTH, L"77");
  ASSERT_EQ(GetFocus(), user.item(IDC_MEDIA_LENGTH));
  EXPECT_EQ(page().Apply(), S_OK);
  EXPECT_EQ(component.property(L"FeedLenght"), 77);
  EXPECT_EQ(component.property(L"GapLenght"), 4);
}

TEST_F(SettingsPageWine, KeyboardGoesThroughTheDialogOnlyWhileItIsActive) {
  EXPECT_EQ(page().TranslateAccelerator(nullptr), E_POINTER);
  MSG tab{};
  tab.message = WM_KEYDOWN;
  tab.wParam = VK_TAB;
  EXPECT_EQ(page().TranslateAccelerator(&tab), S_FALSE);

  PageDriver user(activate());
  user.focus(IDC_LABEL_HEIGHT);
  tab.hwnd = user.item(IDC_LABEL_HEIGHT);
  EXPECT_EQ(page().TranslateAccelerator(&tab), S_OK);
  EXPECT_NE(GetFocus(), user.item(IDC_LABEL_HEIGHT));

  MSG timer{};
  timer.hwnd = user.item(IDC_LABEL_HEIGHT);
  timer.message = WM_TIMER;
  EXPECT_EQ(page().TranslateAccelerator(&timer), S_FALSE);
  EXPECT_EQ(page().Help(nullptr), E_NOTIMPL);
}

TEST_F(SettingsPageWine, PageStaysAControlParentWhateverTheHostSetsAsExtendedStyle) {
  HWND window = activate();
  SetWindowLongPtrW(window, GWL_EXSTYLE, 0);
  EXPECT_NE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);
}

TEST_F(SettingsPageWine, EachActivationRefillsAndReleasedObjectsReceiveNothing) {
  PageDriver first(activate());
  first.type(IDC_LABEL_WIDTH, L"64");
  EXPECT_EQ(page().Deactivate(), S_OK);
  ASSERT_EQ(component.setProperty(L"LabelWidth", 80), S_OK);

  PageDriver second(activate());
  EXPECT_EQ(second.text(IDC_LABEL_WIDTH), L"80");
  second.type(IDC_LABEL_WIDTH, L"90");
  second.focus(IDC_LABEL_HEIGHT);

  // A frame lets go of its objects with no array at all.
  EXPECT_EQ(page().SetObjects(0, nullptr), S_OK);
  EXPECT_EQ(page().SetObjects(1, nullptr), E_POINTER);
  EXPECT_EQ(page().Apply(), S_OK);
  EXPECT_EQ(page().IsPageDirty(), S_FALSE);
  EXPECT_EQ(component.property(L"LabelWidth"), 80);
}

TEST_F(SettingsPageWine, AnObjectWithoutTheLinkLeavesThePageOnItsOwnCopy) {
  ASSERT_EQ(component.setProperty(L"LabelWidth", 70), S_OK);
  IUnknown* objects[] = {&plain};
  ASSERT_EQ(page().SetObjects(1, objects), S_OK);
  RECT place{0, 0, 600, 560};
  ASSERT_EQ(page().Activate(host.get(), &place, TRUE), S_OK);
  PageDriver user(dialog());
  EXPECT_EQ(user.text(IDC_LABEL_WIDTH), L"43");
  user.type(IDC_LABEL_WIDTH, L"50");
  EXPECT_EQ(page().Apply(), S_OK);
  EXPECT_EQ(page().IsPageDirty(), S_FALSE);
  EXPECT_EQ(component.property(L"LabelWidth"), 70);
}

}  // namespace
}  // namespace page_tests

namespace page_tests {
namespace {

TEST_F(SettingsPageWine, LineUnderThePortListShowsWhereTheSelectedPortIsMapped) {
  const MapEntry userLpt2(HKEY_CURRENT_USER, L"LPT2", L"tcp://printer.example:9100");
  const MapEntry machineLpt2(HKEY_LOCAL_MACHINE, L"LPT2", L"file:C:\\machine.prn");
  const MapEntry machineCom3(HKEY_LOCAL_MACHINE, L"COM3", L"printer:\\\\server\\labels");
  const MapEntry userCom4(HKEY_CURRENT_USER, L"COM4", L"nonsense");
  for (const MapEntry* entry : {&userLpt2, &machineLpt2, &machineCom3, &userCom4}) {
    ASSERT_TRUE(entry->made());
  }
  ASSERT_EQ(component.setProperty(L"NumberPort", 1), S_OK);
  PageDriver user(activate());
  HWND line = user.item(IDC_PORT_TARGET);
  ASSERT_NE(line, nullptr);
  EXPECT_NE(GetWindowLongPtrW(line, GWL_STYLE) & ES_READONLY, 0);

  // The user's entry wins over the machine's; an unmapped port shows nothing.
  EXPECT_EQ(user.text(IDC_PORT_TARGET), L"LPT2 = tcp://printer.example:9100");
  const struct {
    int index;
    std::wstring shown;
  } choices[] = {
      {5, L"COM3 = printer:\\\\server\\labels"},
      {6, L"COM4 = nonsense (не tcp://, printer: или file:)"},
      {0, L""},
      {12, L""},
      {1, L"LPT2 = tcp://printer.example:9100"},
  };
  for (const auto& choice : choices) {
    user.choose(IDC_PORT, choice.index);
    EXPECT_EQ(user.text(IDC_PORT_TARGET), choice.shown) << choice.index;
  }

  // Below every control of the page, so that none of them had to move.
  RECT lineRect{};
  GetWindowRect(line, &lineRect);
  for (int id : {IDC_WEB_PAGE, IDC_SUPPORT_MAIL, IDC_THERMAL_TRANSFER, IDC_READABLE}) {
    RECT other{};
    GetWindowRect(user.item(id), &other);
    EXPECT_GE(lineRect.top, other.bottom) << id;
  }
}

}  // namespace
}  // namespace page_tests
