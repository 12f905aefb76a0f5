#include "cli/commands/printer_options.h"

#include <gtest/gtest.h>

#include "cli/app/command_line.h"

namespace tagwright::cli::printer {
namespace {

// `tagwright ARGS...`, which must be the printer command when it is read.
Result<PrinterOptions> parsePrinter(std::vector<std::string> args) {
  Result<ParsedCommand> parsed = parseCommandLine(args);
  if (!parsed) return Result<PrinterOptions>::failure(parsed.error());
  if (!std::holds_alternative<PrinterOptions>(parsed.value())) {
    return Result<PrinterOptions>::failure("not the printer command");
  }
  return std::get<PrinterOptions>(parsed.value());
}

Result<PrinterOptions> parsePrinterOptions(std::vector<std::string> args) {
  args.insert(args.begin(), "printer");
  return parsePrinter(std::move(args));
}

TEST(PrinterOptions, TakesEveryOption) {
  Result<PrinterOptions> parsed = parsePrinterOptions({"--listen",
                                                       "127.0.0.1:0",
                                                       "--preview=pics",
                                                       "--json",
                                                       "--state",
                                                       "head-open",
                                                       "--fault",
                                                       "after 2 labels: media-empty",
                                                       "--fault=after 5 labels: paused",
                                                       "--tcp-fault",
                                                       "close-mid-job",
                                                       "--close-after",
                                                       "40",
                                                       "--speed-factor",
                                                       "250",
                                                       "--buffer-cap",
                                                       "4096",
                                                       "--immediate-replies",
                                                       "--no-answers",
                                                       "--capture",
                                                       "jobs",
                                                       "--idle-timeout",
                                                       "0.25",
                                                       "--once",
                                                       "--dpi",
                                                       "300"});
  ASSERT_TRUE(parsed) << parsed.error();
  const PrinterOptions& o = parsed.value();
  EXPECT_EQ(o.source, PrinterOptions::Source::Tcp);
  EXPECT_EQ(o.listen, "127.0.0.1:0");
  EXPECT_EQ(o.previewFolder, "pics");
  EXPECT_TRUE(o.json);
  EXPECT_EQ(o.state, StatusCode::HeadOpen);
  ASSERT_EQ(o.faults.size(), 2u);
  EXPECT_EQ(o.faults[1], (FaultRule{5, StatusCode::Paused}));
  EXPECT_EQ(o.connectionFault, ConnectionFault::CloseMidJob);
  EXPECT_EQ(o.closeAfter, 40u);
  EXPECT_EQ(o.speedFactor, 250);
  EXPECT_EQ(o.bufferCap, 4096u);
  EXPECT_TRUE(o.immediateReplies);
  EXPECT_TRUE(o.noAnswers);
  EXPECT_EQ(o.captureFolder, "jobs");
  EXPECT_EQ(o.idleTimeout, 0.25);
  EXPECT_TRUE(o.once);
  EXPECT_EQ(o.drawing.dotsPerMm, 12);

  Result<PrinterOptions> terminal = parsePrinterOptions({"--pty"});
  ASSERT_TRUE(terminal);
  EXPECT_EQ(terminal.value().source, PrinterOptions::Source::Terminal);
  Result<PrinterOptions> file = parsePrinterOptions({"--input", "-"});
  ASSERT_TRUE(file);
  EXPECT_EQ(file.value().source, PrinterOptions::Source::File);
  EXPECT_EQ(file.value().inputPath, "-");
}

TEST(PrinterOptions, RefusesWhatCannotBeRun) {
  struct Case {
    std::vector<std::string> args;
    const char* why;
  };
  const Case cases[] = {
      {{"--pty", "--listen", "127.0.0.1:0"}, "one of --listen, --pty and --input"},
      {{"--input", "a", "--pty"}, "one of --listen, --pty and --input"},
      {{"--pty", "--tcp-fault", "refuse"}, "--tcp-fault needs a TCP printer"},
      {{"--state", "ready"}, "unknown printer fault"},
      {{"--fault", "sometimes"}, "starts with \"after\""},
      {{"--tcp-fault", "hang"}, "unknown connection fault"},
      {{"--speed-factor", "0"}, "--speed-factor takes a number"},
      {{"--speed-factor", "fast"}, "--speed-factor takes a number"},
      {{"--buffer-cap", "10"}, "at least 64"},
      {{"--close-after", "0"}, "--close-after takes"},
      {{"--idle-timeout", "0"}, "--idle-timeout takes seconds"},
      {{"--idle-timeout", "soon"}, "--idle-timeout takes seconds"},
      {{"--dpi", "600"}, "--dpi takes 203 or 300"},
      {{"--listen"}, "--listen needs a value"},
      {{"--verbose"}, "unknown option --verbose"},
  };
  for (const Case& c : cases) {
    Result<PrinterOptions> parsed = parsePrinterOptions(c.args);
    ASSERT_FALSE(parsed) << c.args.front();
    EXPECT_NE(parsed.error().find(c.why), std::string::npos) << parsed.error();
  }
}

TEST(PrinterOptions, DefaultsComeFromTheOptionsBeforeTheCommand) {
  Result<PrinterOptions> parsed =
      parsePrinter({"--dpi", "300", "--ansi", "CP1252", "printer", "--pty"});
  ASSERT_TRUE(parsed) << parsed.error();
  EXPECT_EQ(parsed.value().drawing.dotsPerMm, 12);
  EXPECT_EQ(parsed.value().drawing.pages.ansi, "CP1252");
}

}  // namespace
}  // namespace tagwright::cli::printer
