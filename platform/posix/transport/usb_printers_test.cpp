#include "platform/posix/transport/usb_printers.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "core/transport/printer_port.h"
#include "platform/posix/transport/posix_port_layer.h"
#include "support/fake_sysfs.h"

namespace tagwright {
namespace {

namespace fs = std::filesystem;
using testing::FakeSysfs;

constexpr const char* kGuid = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

TEST(UsbDevicePath, IsTheSystemFormInLowerCase) {
  EXPECT_EQ(usbDevicePath("195F", "0001", "AB12#x"),
            std::string("usb#vid_195f&pid_0001#ab12_x#") + kGuid);
}

TEST(ScanUsbPrinters, FindsPrinterInterfacesInNumberOrderWithTheirNodes) {
  FakeSysfs sysfs;
  const std::string serialA = "A1B2";
  const std::string serialB = "Q9";
  sysfs.addDevice("1-2", "195f", "0001", &serialA, "lp10");
  sysfs.addDevice("1-1", "195F", "0001", &serialB, "lp2");
  sysfs.addDevice("1-3", "046d", "c52b", nullptr, "lp3");             // another printer, no serial
  sysfs.addDevice("1-4", "195f", "0001", &serialA, "hiddev0", "03");  // not a printer
  sysfs.addDevice("1-5", "195f", "0001", &serialA, "lp4", "03");      // not a printer interface

  const std::vector<UsbPrinterNode> printers = scanUsbPrinters(sysfs.root(), "/devroot");
  ASSERT_EQ(printers.size(), 3u);
  EXPECT_EQ(printers[0].devicePath, std::string("usb#vid_195f&pid_0001#q9#") + kGuid);
  EXPECT_EQ(printers[0].node, "/devroot/usb/lp2");
  EXPECT_EQ(printers[1].devicePath, std::string("usb#vid_046d&pid_c52b#1-3#") + kGuid);
  EXPECT_EQ(printers[1].node, "/devroot/usb/lp3");
  EXPECT_EQ(printers[2].devicePath, std::string("usb#vid_195f&pid_0001#a1b2#") + kGuid);
  EXPECT_EQ(printers[2].node, "/devroot/usb/lp10");
}

TEST(ScanUsbPrinters, NoUsbmiscClassMeansNoPrinters) {
  EXPECT_TRUE(scanUsbPrinters("/nonexistent-sysfs").empty());
}

TEST(PosixUsbPort, TheLastMatchingPrinterIsOpenedThroughItsNode) {
  FakeSysfs sysfs;
  const std::string serialA = "first";
  const std::string serialB = "second";
  sysfs.addDevice("1-1", "195f", "0001", &serialA, "lp0");
  sysfs.addDevice("1-2", "195f", "0001", &serialB, "lp1");
  fs::create_directories(sysfs.root() / "dev" / "usb");
  std::ofstream(sysfs.root() / "dev" / "usb" / "lp0");
  std::ofstream(sysfs.root() / "dev" / "usb" / "lp1");

  PosixPortLayer::Options options;
  options.sysfsRoot = sysfs.root();
  options.devRoot = sysfs.root() / "dev";
  PosixPortLayer layer(std::move(options));
  class NoWait final : public Sleeper {
   public:
    void sleepFor(std::chrono::milliseconds) override {}
  } noWait;
  std::string errorText;
  const PortHandle port = OpenPrinterPort(layer, noWait, kUsbPortIndex, errorText);
  ASSERT_NE(port, kInvalidPort) << errorText;
  std::uint32_t written = 0;
  EXPECT_TRUE(layer.write(port, "job", written));
  ClosePrinterPort(layer, kUsbPortIndex, port);
  std::ifstream second(sysfs.root() / "dev" / "usb" / "lp1");
  std::string content;
  std::getline(second, content);
  EXPECT_EQ(content, "job");
  EXPECT_EQ(fs::file_size(sysfs.root() / "dev" / "usb" / "lp0"), 0u);
}

TEST(PosixUsbPort, PrinterGivenByTheHostComesLastAndWins) {
  FakeSysfs sysfs;
  const std::string serial = "real";
  sysfs.addDevice("1-1", "195f", "0001", &serial, "lp0");
  PosixPortLayer::Options options;
  options.sysfsRoot = sysfs.root();
  ASSERT_TRUE(options.devices.assign("usb", "/tmp/somewhere"));
  PosixPortLayer layer(std::move(options));
  const std::vector<std::string> paths = layer.usbDevicePaths();
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths.back(), DeviceMap::kMappedUsbDevicePath);
  EXPECT_EQ(findUsbPrinterPath(layer), DeviceMap::kMappedUsbDevicePath);
}

TEST(DeviceMap, DefaultsAndAssignments) {
  DeviceMap map;
  EXPECT_EQ(map.pathFor("LPT1"), "/dev/lp0");
  EXPECT_EQ(map.pathFor("LPT3"), "/dev/lp2");
  EXPECT_EQ(map.pathFor("COM1"), "/dev/ttyS0");
  EXPECT_EQ(map.pathFor("COM9"), "/dev/ttyS8");
  EXPECT_FALSE(map.pathFor("COM10").has_value());
  EXPECT_FALSE(map.usbPrinter().has_value());
  EXPECT_TRUE(map.assign("com3", "/dev/pts/7"));
  EXPECT_EQ(map.pathFor("COM3"), "/dev/pts/7");
  EXPECT_TRUE(map.assign("USB", "/tmp/usb.out"));
  EXPECT_EQ(map.usbPrinter(), "/tmp/usb.out");
  for (const char* bad : {"COM0", "COM10", "LPT4", "PRN", "", "COM1 "}) {
    EXPECT_FALSE(map.assign(bad, "/x")) << bad;
  }
}

}  // namespace
}  // namespace tagwright
