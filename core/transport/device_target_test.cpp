#include "core/transport/device_target.h"

#include <gtest/gtest.h>

namespace tagwright {
namespace {

using Kind = DeviceTarget::Kind;

TEST(DeviceTarget, ReadsTheThreeFormsAndWritesThemBack) {
  struct Case {
    std::string_view text;
    Kind kind;
    std::string name;  // the queue or file; for tcp, the address text
    std::string shown;
  };
  const Case cases[] = {
      {"tcp://10.0.0.7", Kind::Tcp, "10.0.0.7:9100", "tcp://10.0.0.7:9100"},
      {"  tcp://printer.local:9101\r\n", Kind::Tcp, "printer.local:9101",
       "tcp://printer.local:9101"},
      {"tcp://[fe80::1]:9100", Kind::Tcp, "[fe80::1]:9100", "tcp://[fe80::1]:9100"},
      {"printer:Zebra ZD420", Kind::PrinterQueue, "Zebra ZD420", "printer:Zebra ZD420"},
      {"printer:\\\\server\\labels", Kind::PrinterQueue, "\\\\server\\labels",
       "printer:\\\\server\\labels"},
      {"file:C:\\capture\\jobs.prn", Kind::File, "C:\\capture\\jobs.prn",
       "file:C:\\capture\\jobs.prn"},
      {"file: /tmp/jobs ", Kind::File, "/tmp/jobs", "file:/tmp/jobs"},
  };
  for (const Case& c : cases) {
    const Result<DeviceTarget> target = parseDeviceTarget(c.text);
    ASSERT_TRUE(target) << c.text << ": " << target.error();
    EXPECT_EQ(target.value().kind, c.kind) << c.text;
    const std::string name = c.kind == Kind::Tcp ? target.value().tcp.text() : target.value().name;
    EXPECT_EQ(name, c.name) << c.text;
    EXPECT_EQ(target.value().text(), c.shown) << c.text;
    EXPECT_EQ(parseDeviceTarget(target.value().text()).value(), target.value()) << c.text;
  }
}

TEST(DeviceTarget, RefusesWhatIsNoneOfTheFormsSayingWhatItRead) {
  struct Case {
    std::string_view text;
    std::string_view said;
  };
  const Case cases[] = {
      {"", "is not a device target"},
      {"LPT2", "is not a device target"},
      {"\\\\server\\labels", "is not a device target"},
      {"TCP://10.0.0.7", "is not a device target"},
      {"file:", "names no file"},
      {"printer:   ", "names no printer queue"},
      {"tcp://", "tcp://"},
      {"tcp://host:99999", "tcp://host:99999"},
      {"\x01\xff garbage", "is not a device target"},
  };
  for (const Case& c : cases) {
    const Result<DeviceTarget> target = parseDeviceTarget(c.text);
    ASSERT_FALSE(target) << c.text;
    EXPECT_NE(target.error().find(c.said), std::string::npos) << c.text << ": " << target.error();
  }
  EXPECT_NE(parseDeviceTarget("x").error().find("tcp://HOST[:PORT], printer:NAME or file:PATH"),
            std::string::npos);
}

TEST(DeviceTarget, MapsOnlyThePortsTheComponentOpens) {
  for (std::string_view name : {"LPT1", "lpt3", "COM1", "Com9", "USB", "usb"}) {
    EXPECT_TRUE(isMappablePortName(name)) << name;
  }
  for (std::string_view name : {"LPT0", "LPT4", "COM0", "COM10", "USB1", "PRN", "", "COMX"}) {
    EXPECT_FALSE(isMappablePortName(name)) << name;
  }
}

}  // namespace
}  // namespace tagwright
