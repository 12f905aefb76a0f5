#include "platform/posix/transport/device_listing.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "support/fake_sysfs.h"
#include "support/temp_dir.h"

namespace tagwright {
namespace {

using testing::FakeSysfs;
using Kind = PrintableDevice::Kind;

int everyoneMayOpen(const std::string&) { return 0; }

TEST(ListPrintableDevices, FindsSerialUsbAndParallelPortsInOrderWithTheirIds) {
  FakeSysfs sysfs;
  const std::string serial = "LBL0042";
  sysfs.addTty("ttyS0");
  sysfs.addTty("ttyS1", "", "", "0");  // no UART answers there
  sysfs.addVirtualTty("tty1");
  sysfs.addVirtualTty("ttyS9");  // no hardware behind it
  sysfs.addTty("ttyUSB10", "0403", "6001");
  sysfs.addTty("ttyUSB2", "067b", "2303");
  sysfs.addDevice("1-1", "195f", "0001", &serial, "lp0");
  sysfs.addDeviceAttribute("usbmisc", "lp0", "ieee1284_id", "MFG:Acme;MDL:LP-2;CMD:ZPL;");
  sysfs.addDevice("1-2", "04b8", "0202", nullptr, "lp1");
  sysfs.addDevice("1-3", "046d", "c077", nullptr, "hiddev0", "03");  // a mouse, not a printer
  sysfs.addParallel("lp0");

  const auto devices = listPrintableDevices(sysfs.root(), "/dev", everyoneMayOpen);
  struct Expected {
    Kind kind;
    const char* node;
    const char* detailsPart;
    bool foundByUsbPort;
  };
  const Expected expected[] = {
      {Kind::Serial, "/dev/ttyS0", "serial port", false},
      {Kind::Serial, "/dev/ttyUSB2", "USB serial adapter, USB 067b:2303", false},
      {Kind::Serial, "/dev/ttyUSB10", "USB 0403:6001 (Acme)", false},
      {Kind::UsbPrinter, "/dev/usb/lp0", "USB 195f:0001, serial LBL0042, IEEE 1284 id MFG:Acme;",
       true},
      {Kind::UsbPrinter, "/dev/usb/lp1", "USB 04b8:0202", false},
      {Kind::Parallel, "/dev/lp0", "parallel port", false},
  };
  ASSERT_EQ(devices.size(), std::size(expected));
  for (std::size_t i = 0; i < devices.size(); ++i) {
    SCOPED_TRACE(expected[i].node);
    EXPECT_EQ(devices[i].kind, expected[i].kind);
    EXPECT_EQ(devices[i].node, expected[i].node);
    EXPECT_NE(devices[i].details.find(expected[i].detailsPart), std::string::npos)
        << devices[i].details;
    EXPECT_EQ(devices[i].foundByUsbPort, expected[i].foundByUsbPort);
    EXPECT_EQ(devices[i].accessProblem, "");
  }
}

TEST(ListPrintableDevices, SaysWhyADeviceCannotBeOpenedAndWhatToDo) {
  FakeSysfs sysfs;
  sysfs.addTty("ttyUSB0", "0403", "6001");
  sysfs.addParallel("lp0");
  struct Case {
    int error;
    const char* part;
  };
  const Case cases[] = {{EACCES, "not allowed to open it"},
                        {EBUSY, "in use by another program"},
                        {ENXIO, "cannot be opened"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.part);
    const auto devices =
        listPrintableDevices(sysfs.root(), "/dev", [&](const std::string&) { return c.error; });
    ASSERT_EQ(devices.size(), 2u);
    for (const PrintableDevice& d : devices) {
      EXPECT_NE(d.accessProblem.find(c.part), std::string::npos) << d.accessProblem;
    }
  }
}

TEST(ListPrintableDevices, ARefusalNamesTheGroupThatOwnsTheDevice) {
  const group* dialout = ::getgrnam("dialout");
  if (dialout == nullptr) GTEST_SKIP() << "no dialout group on this machine";
  FakeSysfs sysfs;
  sysfs.addTty("ttyUSB0", "0403", "6001");
  test_support::TempDir dev;
  test_support::putFile(dev.file("ttyUSB0"), "");
  ASSERT_EQ(::chown(dev.file("ttyUSB0").c_str(), static_cast<uid_t>(-1), dialout->gr_gid), 0);
  const auto devices =
      listPrintableDevices(sysfs.root(), dev.file(""), [](const std::string&) { return EACCES; });
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].accessProblem,
            "not allowed to open it: join the dialout group (sudo usermod -aG dialout $USER) and "
            "log in again");
}

TEST(ListPrintableDevices, AMachineWithoutPortsHasNone) {
  FakeSysfs sysfs;
  EXPECT_TRUE(listPrintableDevices(sysfs.root(), "/dev", everyoneMayOpen).empty());
  EXPECT_TRUE(listPrintableDevices("/nonexistent-sysfs", "/dev", everyoneMayOpen).empty());
}

}  // namespace
}  // namespace tagwright
