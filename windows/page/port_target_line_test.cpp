#include "windows/page/port_target_line.h"

#include <gtest/gtest.h>

namespace tagwright::com {
namespace {

TEST(PortTargetLine, SaysWhereAMappedPortGoesAndNothingForALocalOne) {
  struct Case {
    std::optional<DeviceEntry> entry;
    std::wstring shown;
  };
  const Case cases[] = {
      {std::nullopt, L""},
      {DeviceEntry{" tcp://10.0.0.5 ", 0, "HKCU"}, L"COM3 = tcp://10.0.0.5:9100"},
      {DeviceEntry{"printer:\\\\server\\Этикетки", 0, "HKLM"},
       L"COM3 = printer:\\\\server\\Этикетки"},
      {DeviceEntry{"file:C:\\jobs.prn", 0, "HKCU"}, L"COM3 = file:C:\\jobs.prn"},
      {DeviceEntry{"/dev/ttyS0", 0, "HKCU"}, L"COM3 = /dev/ttyS0 (не tcp://, printer: или file:)"},
      {DeviceEntry{"", 1630, "HKCU"}, L"COM3: запись в реестре не читается (ошибка 1630)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(portTargetLine("COM3", c.entry), c.shown) << (c.entry ? c.entry->text : "none");
  }
}

TEST(PortTargetLine, AnIndexOutsideThePortListShowsNothing) {
  EXPECT_EQ(portTargetLine(-1), L"");
  EXPECT_EQ(portTargetLine(13), L"");
}

}  // namespace
}  // namespace tagwright::com
