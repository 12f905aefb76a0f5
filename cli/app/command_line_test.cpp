#include "cli/app/command_line.h"

#include <gtest/gtest.h>

#include "cli/app/option_values.h"

namespace tagwright::cli {
namespace {

// The options of the command the words give, which must be `T`.
template <typename T>
T parsedAs(const std::vector<std::string>& args) {
  Result<ParsedCommand> p = parseCommandLine(args);
  if (!p) {
    ADD_FAILURE() << p.error();
    return T{};
  }
  if (!std::holds_alternative<T>(p.value())) {
    ADD_FAILURE() << "another command";
    return T{};
  }
  return std::get<T>(p.value());
}

TEST(CommandLine, TakeValuesInBothFormsAnywhereOnTheLine) {
  const RunOptions o = parsedAs<RunOptions>(
      {"--profile", "p.ini", "run", "a.tws", "--output=out.bin", "--device", "com3=/dev/pts/4",
       "--on-port-error=ignore", "--ansi", "CP1252", "b.tws", "--", "--odd-name.tws"});
  EXPECT_EQ(o.scripts, (std::vector<std::string>{"a.tws", "b.tws", "--odd-name.tws"}));
  EXPECT_EQ(o.profile, "p.ini");
  EXPECT_EQ(o.delivery.output, "out.bin");
  ASSERT_EQ(o.delivery.ports.devices.size(), 1u);
  EXPECT_EQ(o.delivery.ports.devices[0],
            (std::pair<std::string, std::string>{"COM3", "/dev/pts/4"}));
  EXPECT_EQ(o.delivery.onPortError, PortErrorPolicy::Ignore);
  EXPECT_EQ(o.drawing.pages.ansi, "CP1252");
  EXPECT_EQ(o.drawing.pages.oem, "CP866");
}

TEST(CommandLine, PortNamesAreTheComponentsOwn) {
  for (const char* good : {"LPT1", "lpt3", "COM1", "Com9", "usb"}) {
    EXPECT_TRUE(canonicalPortName(good)) << good;
  }
  for (const char* bad : {"LPT0", "LPT4", "COM0", "COM10", "USB1", "PRN", ""}) {
    EXPECT_FALSE(canonicalPortName(bad)) << bad;
  }
}

TEST(CommandLine, RefuseWhatCannotBeRun) {
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
      {"serve", "a.tws", "b.tws"},
      {"serve", "--port", "0"},
      {"serve", "--port", "65536"},
      {"serve", "--port", "80x"},
      {"serve", "--dpi", "600"},
  };
  for (const auto& args : bad) {
    Result<ParsedCommand> p = parseCommandLine(args);
    std::string line;
    for (const auto& a : args) line += a + " ";
    EXPECT_FALSE(p.ok()) << line;
  }
  EXPECT_TRUE(parseCommandLine({"--help"}).ok());
  parsedAs<VersionRequest>({"--version"});
  parsedAs<DumpOptions>({"dump", "-"});
  const ServeOptions serve = parsedAs<ServeOptions>(
      {"serve", "a.tws", "--port", "8080", "--dpi", "300", "--device", "COM1=tcp://127.0.0.1"});
  EXPECT_EQ(serve.file, "a.tws");
  EXPECT_EQ(serve.port, 8080);
  EXPECT_EQ(serve.drawing.dotsPerMm, 12);
  ASSERT_EQ(serve.delivery.ports.devices.size(), 1u);
  EXPECT_EQ(serve.delivery.ports.devices.front().first, "COM1");
  EXPECT_FALSE(parsedAs<ServeOptions>({"serve"}).file);
  const PreviewOptions preview =
      parsedAs<PreviewOptions>({"preview", "--dpi=300", "--images", "img", "a.prn"});
  EXPECT_EQ(preview.drawing.dotsPerMm, 12);
  EXPECT_EQ(preview.drawing.images, "img");
}

TEST(CommandLine, TimeoutsAreSecondsWithUpToThreeDecimals) {
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

TEST(CommandLine, NetworkOptionsAreTaken) {
  const RunOptions o = parsedAs<RunOptions>({"run", "a.tws", "--device", "COM1=tcp://10.0.0.7",
                                             "--connect-timeout", "2", "--busy-timeout=0.5",
                                             "--write-timeout", "12", "--quiet", "--wait"});
  const PortOptions& ports = o.delivery.ports;
  EXPECT_EQ(ports.devices[0], (std::pair<std::string, std::string>{"COM1", "tcp://10.0.0.7"}));
  EXPECT_EQ(ports.connectTimeout, std::chrono::milliseconds(2000));
  EXPECT_EQ(ports.busyTimeout, std::chrono::milliseconds(500));
  EXPECT_EQ(ports.writeTimeout, std::chrono::milliseconds(12000));
  EXPECT_TRUE(o.delivery.quiet);
  EXPECT_TRUE(o.delivery.wait);
  Result<ParsedCommand> bad = parseCommandLine({"run", "a.tws", "--busy-timeout", "1m"});
  ASSERT_FALSE(bad.ok());
  EXPECT_NE(bad.error().find("--busy-timeout takes seconds"), std::string::npos) << bad.error();
  EXPECT_FALSE(parsedAs<RunOptions>({"run", "a.tws"}).delivery.ports.connectTimeout);
}

TEST(CommandLine, StatusConfirmAndThePrinterCommand) {
  const StatusOptions status =
      parsedAs<StatusOptions>({"status", "com2", "--status-timeout", "0.5"});
  EXPECT_EQ(status.port, "COM2");
  EXPECT_EQ(status.statusTimeout, std::chrono::milliseconds(500));
  EXPECT_FALSE(parseCommandLine({"status", "COM1", "COM2"}).ok());
  EXPECT_TRUE(parsedAs<RunOptions>({"run", "--confirm", "a.tws"}).delivery.confirm);
  const Result<ParsedCommand> misplaced = parseCommandLine({"preview", "--confirm", "a.tws"});
  ASSERT_FALSE(misplaced.ok());
  EXPECT_NE(misplaced.error().find("belongs to run"), std::string::npos);
  // Options before the command word are the command's too.
  const printer::PrinterOptions printer =
      parsedAs<printer::PrinterOptions>({"--dpi", "300", "printer", "--listen", "127.0.0.1:0"});
  EXPECT_EQ(printer.drawing.dotsPerMm, 12);
  EXPECT_EQ(printer.listen, "127.0.0.1:0");
}

// The parser's own failures come out in the program's words.
TEST(CommandLine, UsageErrorsSayWhatIsWrongAndWhereAnOptionBelongs) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"run", "a.tws", "--output"}, "--output needs a value"},
      {{"--profile", "p.ini"}, "no command given (see tagwright --help)"},
      {{"run", "a.tws", "--verbose=2"}, "unknown option --verbose (see tagwright run --help)"},
      {{"--verbose"}, "unknown option --verbose (see tagwright --help)"},
      {{"print", "a.tws"},
       "unknown command \"print\" (run, settings, names, dump, preview, check, serve, devices, "
       "status or printer)"},
      {{"names", "--raw"}, "--raw belongs to dump"},
      {{"preview", "--strict", "a.tws"}, "--strict belongs to run and check"},
      {{"preview", "--preview", "pics", "a.tws"},
       "--preview belongs to run and printer; the preview command writes to --output"},
      {{"devices", "--", "x"}, "devices takes no operands"},
  };
  for (const Case& c : cases) {
    Result<ParsedCommand> p = parseCommandLine(c.args);
    ASSERT_FALSE(p.ok()) << c.message;
    EXPECT_EQ(p.error(), c.message);
  }
}

TEST(CommandLine, HelpIsTheProgramsOrTheCommandsAndVersionStandsAnywhere) {
  const std::string program = parsedAs<HelpRequest>({"--help", "run"}).text;
  for (const char* command : {"run", "settings", "names", "devices", "dump", "preview", "check",
                              "serve", "status", "printer"}) {
    EXPECT_NE(program.find(std::string("\n  ") + command + " "), std::string::npos) << command;
  }
  const std::string run = parsedAs<HelpRequest>({"run", "-h"}).text;
  EXPECT_NE(run.find("Usage: tagwright run"), std::string::npos) << run;
  EXPECT_NE(run.find("--check"), std::string::npos) << run;
  EXPECT_EQ(run.find("--format"), std::string::npos) << run;
  parsedAs<VersionRequest>({"run", "a.tws", "--version"});
}

}  // namespace
}  // namespace tagwright::cli
