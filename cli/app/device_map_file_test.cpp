#include "cli/app/device_map_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace tagwright::cli {
namespace {

TEST(DeviceMapFile, ReadsEntriesAndNamesEveryBadLineByItsNumber) {
  const Result<DeviceList> read = parseDeviceMapFile(
      "# saved by tagwright devices\n"
      "com1 = tcp://10.0.0.7:9100\r\n"
      "\n"
      "  LPT2=/dev/usb/lp0  \n"
      "USB = cups:labels\n",
      "devices");
  ASSERT_TRUE(read) << read.error();
  EXPECT_EQ(read.value(), (DeviceList{{"COM1", "tcp://10.0.0.7:9100"},
                                      {"LPT2", "/dev/usb/lp0"},
                                      {"USB", "cups:labels"}}));

  const Result<DeviceList> bad = parseDeviceMapFile(
      "COM1 = /dev/ttyS0\n"
      "no equals sign\n"
      "COM10 = /dev/ttyS9\n"
      "LPT1 =\n"
      "com1 = /dev/ttyS1\n",
      "/home/u/.config/tagwright/devices");
  ASSERT_FALSE(bad);
  EXPECT_EQ(bad.error(),
            "/home/u/.config/tagwright/devices:2: not PORT = TARGET: \"no equals sign\"\n"
            "/home/u/.config/tagwright/devices:3: unknown port \"COM10\" (LPT1..LPT3, COM1..COM9 "
            "or USB)\n"
            "/home/u/.config/tagwright/devices:4: LPT1 has no target\n"
            "/home/u/.config/tagwright/devices:5: COM1 is given twice");
}

TEST(DeviceMapFile, DeviceOptionsWinAndChangesSurviveTheFile) {
  const DeviceList saved{{"COM1", "tcp://a"}, {"LPT1", "/tmp/lpt"}};
  EXPECT_EQ(underDevices(saved, {{"COM1", "tcp://b"}, {"USB", "/dev/usb/lp0"}}),
            (DeviceList{{"COM1", "tcp://b"}, {"LPT1", "/tmp/lpt"}, {"USB", "/dev/usb/lp0"}}));

  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tagwright-map-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  FileDeviceMapStore store((dir / "tagwright" / "devices").string());
  ASSERT_TRUE(store.read());
  EXPECT_TRUE(store.read().value().empty()) << "no file is an empty map";
  DeviceList entries = withEntry(withEntry({}, "COM3", "tcp://[fe80::1]:9100"), "LPT1", "/x y");
  entries = withEntry(std::move(entries), "COM3", "tcp://printer");
  ASSERT_TRUE(store.write(withoutEntry(entries, "LPT1")));
  const Result<DeviceList> back = store.read();
  ASSERT_TRUE(back) << back.error();
  EXPECT_EQ(back.value(), (DeviceList{{"COM3", "tcp://printer"}}));
  EXPECT_FALSE(store.accepts("two\nlines"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tagwright::cli
