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
      {"run", "a.tws", "--connect-timeout"},
      {"run", "a.tws", "--busy-timeout", "soon"},
      {"run", "a.tws", "--write-timeout=0"},
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

TEST(Options, TimeoutsAreSecondsWithUpToThreeDecimals) {
  struct Case {
    const char* text;
    long long ms;  // -1: refused
  };
  const Case cases[] = {{"5", 5000},   {"0.5", 500},        {"0.25", 250},     {"1.125", 1125},
                        {"60", 60000}, {"86400", 86400000}, {".5", 500},       {"0", -1},
                        {"0.000", -1}, {"0.0001", -1},      {"86400.001", -1}, {"", -1},
                        {"-1", -1},    {"1e3", -1},         {"5s", -1},        {"1.2.3", -1},
                        {".", -1},     {"999999999999", -1}};
  for (const Case& c : cases) {
    const auto parsed = parseSeconds(c.text);
    if (c.ms < 0) {
      EXPECT_FALSE(parsed) << c.text;
    } else {
      ASSERT_TRUE(parsed) << c.text;
      EXPECT_EQ(parsed->count(), c.ms) << c.text;
    }
  }
}

TEST(Options, NetworkOptionsAreTaken) {
  OptionsParse p =
      parseOptions({"run", "a.tws", "--device", "COM1=tcp://10.0.0.7", "--connect-timeout", "2",
                    "--busy-timeout=0.5", "--write-timeout", "12", "--quiet", "--wait"});
  ASSERT_TRUE(p.ok()) << p.error();
  const Options& o = p.value();
  EXPECT_EQ(o.devices[0], (std::pair<std::string, std::string>{"COM1", "tcp://10.0.0.7"}));
  EXPECT_EQ(o.connectTimeout, std::chrono::milliseconds(2000));
  EXPECT_EQ(o.busyTimeout, std::chrono::milliseconds(500));
  EXPECT_EQ(o.writeTimeout, std::chrono::milliseconds(12000));
  EXPECT_TRUE(o.quiet);
  EXPECT_TRUE(o.wait);
  OptionsParse bad = parseOptions({"run", "a.tws", "--busy-timeout", "1m"});
  ASSERT_FALSE(bad.ok());
  EXPECT_NE(bad.error().find("--busy-timeout takes seconds"), std::string::npos) << bad.error();
  EXPECT_FALSE(parseOptions({"run", "a.tws"}).value().connectTimeout);
}

TEST(Options, StatusConfirmAndThePrinterCommand) {
  OptionsParse status = parseOptions({"status", "com2", "--status-timeout", "0.5"});
  ASSERT_TRUE(status.ok()) << status.error();
  EXPECT_EQ(status.value().operands, std::vector<std::string>{"com2"});
  EXPECT_EQ(status.value().statusTimeout, std::chrono::milliseconds(500));
  EXPECT_FALSE(parseOptions({"status", "COM1", "COM2"}).ok());
  OptionsParse confirm = parseOptions({"run", "--confirm", "a.tws"});
  ASSERT_TRUE(confirm.ok()) << confirm.error();
  EXPECT_TRUE(confirm.value().confirm);
  const OptionsParse misplaced = parseOptions({"preview", "--confirm", "a.tws"});
  ASSERT_FALSE(misplaced.ok());
  EXPECT_NE(misplaced.error().find("belongs to run"), std::string::npos);
  // The printer reads its own options, even ones the rest of the program
  // does not know; those before the command word are the program's.
  OptionsParse printer =
      parseOptions({"--dpi", "300", "printer", "--listen", "127.0.0.1:0", "--fault=x", "--"});
  ASSERT_TRUE(printer.ok()) << printer.error();
  EXPECT_EQ(printer.value().dotsPerMm, 12);
  EXPECT_EQ(printer.value().operands,
            (std::vector<std::string>{"--listen", "127.0.0.1:0", "--fault=x", "--"}));
}

}  // namespace
}  // namespace tagwright::cli
