#include "cli/app/options.h"

#include <gtest/gtest.h>

namespace tagwright::cli {
namespace {

TEST(Options, TakeValuesInBothFormsAnywhereOnTheLine) {
  OptionsParse p = parseOptions({"--profile", "p.ini", "run", "a.tws", "--output=out.bin",
                                 "--device", "com3=/dev/pts/4", "--on-port-error=ignore", "--ansi",
                                 "CP1252", "b.tws", "--", "--odd-name.tws"});
  ASSERT_TRUE(p.ok()) << p.error();
  const Options& o = p.value();
  EXPECT_EQ(o.command, "run");
  EXPECT_EQ(o.operands, (std::vector<std::string>{"a.tws", "b.tws", "--odd-name.tws"}));
  EXPECT_EQ(o.profile, "p.ini");
  EXPECT_EQ(o.output, "out.bin");
  ASSERT_EQ(o.devices.size(), 1u);
  EXPECT_EQ(o.devices[0], (std::pair<std::string, std::string>{"COM3", "/dev/pts/4"}));
  EXPECT_EQ(o.onPortError, PortErrorPolicy::Ignore);
  EXPECT_EQ(o.ansi, "CP1252");
  EXPECT_EQ(o.oem, "CP866");
}

TEST(Options, PortNamesAreTheComponentsOwn) {
  for (const char* good : {"LPT1", "lpt3", "COM1", "Com9", "usb"}) {
    EXPECT_TRUE(canonicalPortName(good)) << good;
  }
  for (const char* bad : {"LPT0", "LPT4", "COM0", "COM10", "USB1", "PRN", ""}) {
    EXPECT_FALSE(canonicalPortName(bad)) << bad;
  }
}

TEST(Options, RefuseWhatCannotBeRun) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"print", "a.tws"},
      {"run"},
      {"dump"},
      {"dump", "a", "b"},
      {"names", "x"},
      {"run", "a.tws", "--output"},
      {"run", "a.tws", "--device", "COM1"},
      {"run", "a.tws", "--device", "COM12=/dev/x"},
      {"run", "a.tws", "--device", "COM1=/a", "--device", "com1=/b"},
      {"run", "a.tws", "--on-port-error", "later"},
      {"run", "a.tws", "--verbose"},
      {"preview"},
      {"preview", "a.prn", "--dpi", "600"},
      {"preview", "a.prn", "b.prn", "--output", "one.PNG"},
      {"preview", "a.prn", "--preview", "pics"},
  };
  for (const auto& args : bad) {
    OptionsParse p = parseOptions(args);
    std::string line;
    for (const auto& a : args) line += a + " ";
    EXPECT_FALSE(p.ok()) << line;
  }
  EXPECT_TRUE(parseOptions({"--help"}).ok());
  EXPECT_TRUE(parseOptions({"--version"}).value().version);
  EXPECT_TRUE(parseOptions({"dump", "-"}).ok());
  OptionsParse preview = parseOptions({"preview", "--dpi=300", "--images", "img", "a.prn"});
  ASSERT_TRUE(preview.ok()) << preview.error();
  EXPECT_EQ(preview.value().dotsPerMm, 12);
  EXPECT_EQ(preview.value().images, "img");
}

}  // namespace
}  // namespace tagwright::cli
