#include "cli/commands/devices_listing.h"

#include <gtest/gtest.h>

namespace tagwright::cli {
namespace {

using Kind = PrintableDevice::Kind;
using Queues = Result<std::vector<PrintServerQueue>>;

TEST(DevicesListing, GivesEachDeviceItsPortAndSaysWhatStandsInTheWay) {
  std::vector<PrintableDevice> devices = {
      {Kind::Serial, "/dev/ttyS0", "serial port", false, ""},
      {Kind::Serial, "/dev/ttyUSB0", "USB serial adapter, USB 0403:6001", false,
       "not allowed to open it: join the dialout group"},
      {Kind::UsbPrinter, "/dev/usb/lp0", "USB printer, USB 195f:0001", true, ""},
  };
  const std::string shown =
      devicesListing(devices, std::vector<PrintServerQueue>{{"labels", "Dock 4", false}});
  EXPECT_EQ(shown,
            "Serial ports:\n"
            "  /dev/ttyS0  serial port\n"
            "    --device COM1=/dev/ttyS0\n"
            "  /dev/ttyUSB0  USB serial adapter, USB 0403:6001\n"
            "    --device COM2=/dev/ttyUSB0\n"
            "    not allowed to open it: join the dialout group\n"
            "USB printers:\n"
            "  /dev/usb/lp0  USB printer, USB 195f:0001\n"
            "    --device USB=/dev/usb/lp0\n"
            "    the USB port finds this printer by its ids, without --device\n"
            "Parallel ports:\n"
            "  none\n"
            "Print-server queues (any port name can stand before =cups:):\n"
            "  labels  Dock 4\n"
            "    --device COM1=cups:labels\n"
            "    does not accept jobs now (cupsaccept labels)\n"
            "Network printers: --device COM1=tcp://HOST[:PORT] (port 9100 by default)\n");
}

TEST(DevicesListing, SaysWhyThereAreNoQueuesAndStopsSuggestingPastTheLastPort) {
  std::vector<PrintableDevice> devices;
  for (int i = 0; i < 4; ++i) {
    devices.push_back({Kind::Parallel, "/dev/lp" + std::to_string(i), "parallel port", false, ""});
  }
  const std::string shown = devicesListing(devices, Queues::failure("no CUPS server answers"));
  EXPECT_NE(shown.find("--device LPT3=/dev/lp2\n"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("=/dev/lp3"), std::string::npos) << "there is no LPT4";
  EXPECT_NE(shown.find("  none: no CUPS server answers\n"), std::string::npos) << shown;
  EXPECT_NE(devicesListing({}, std::vector<PrintServerQueue>{})
                .find("none: the print server has no queues"),
            std::string::npos);
}

}  // namespace
}  // namespace tagwright::cli
