#include "cli/app/linked_app.h"

#include <gtest/gtest.h>

#include "cli/app/exit_codes.h"
#include "support/linked_program_fixture.h"
#include "platform/posix/transport/print_server.h"
#include "support/loopback_printer.h"
#include "support/private_cupsd.h"

namespace tagwright::cli {
namespace {

TEST_F(LinkedProgramTest, ARunAppendsEveryJobAndSavesTheSettings) {
  put("a.tws", "LabelWidth = 58\nStartLabel()\nPrint(1)\n? LabelWidth\n");
  const std::vector<std::string> args = {"run",      "--profile",     path("profile"),
                                         "--output", path("out.bin"), path("a.tws")};
  ASSERT_EQ(run(args), kExitOk) << err_.str();
  EXPECT_EQ(out_.str(), "LabelWidth = 58\n");
  const std::string once = content("out.bin");
  EXPECT_EQ(once.rfind("^Q25,3\r^W58\r", 0), 0u);
  EXPECT_NE(content("profile").find("LabelWidth = 58"), std::string::npos);

  // The saved width is the next run's starting point; the output grows.
  put("b.tws", "StartLabel()\nPrint(1)\n");
  ASSERT_EQ(run({"run", "--profile", path("profile"), "--output", path("out.bin"), path("b.tws")}),
            kExitOk);
  EXPECT_EQ(content("out.bin"), once + once);
}

TEST_F(LinkedProgramTest, AScriptErrorPrintsNothingAndLeavesTheProfileAlone) {
  put("good.tws", "LabelWidth = 60\nStartLabel()\nPrint(1)\n");
  put("bad.tws", "StartLabel()\nPutText(1, 2, 3)\n");
  ASSERT_EQ(run({"run", "--profile", path("profile"), "--output", path("out.bin"), path("good.tws"),
                 path("bad.tws")}),
            kExitScriptError);
  EXPECT_NE(err_.str().find(path("bad.tws") + ":2:1: 'PutText' takes 8 arguments, 3 given"),
            std::string::npos)
      << err_.str();
  EXPECT_FALSE(fs::exists(path("out.bin")));
  EXPECT_FALSE(fs::exists(path("profile")));

  EXPECT_EQ(
      run({"run", "--profile", path("profile"), "--output", path("out.bin"), path("missing.tws")}),
      kExitScriptError);
  EXPECT_NE(err_.str().find("no such script file"), std::string::npos);
}

TEST_F(LinkedProgramTest, ADamagedProfileStopsTheRunAndIsKept) {
  put("profile", "[Printer Tagwright]\nLabelSize = big\n");
  put("a.tws", "LabelSize = 30\nStartLabel()\nPrint(1)\n");
  EXPECT_EQ(run({"run", "--profile", path("profile"), "--output", path("out.bin"), path("a.tws")}),
            kExitProfile);
  EXPECT_NE(err_.str().find(path("profile") + ":2:"), std::string::npos) << err_.str();
  EXPECT_EQ(content("profile"), "[Printer Tagwright]\nLabelSize = big\n");
  EXPECT_FALSE(fs::exists(path("out.bin")));
  EXPECT_EQ(run({"settings", "--profile", path("profile"), "LabelSize=30"}), kExitProfile);
  EXPECT_EQ(content("profile"), "[Printer Tagwright]\nLabelSize = big\n");
}

TEST_F(LinkedProgramTest, AJobThatCannotBeWrittenIsCountedAsDropped) {
  put("a.tws", "StartLabel()\nPrint(1)\nPrint(1)\n");
  fs::create_directory(path("a-directory"));
  EXPECT_EQ(
      run({"run", "--profile", path("profile"), "--output", path("a-directory"), path("a.tws")}),
      kExitJobsDropped);
  EXPECT_NE(err_.str().find("2 of 2 print jobs dropped"), std::string::npos) << err_.str();
}

TEST_F(LinkedProgramTest, SettingsShowsAndSetsTheStoredValues) {
  ASSERT_EQ(run({"settings", "--profile", path("profile")}), kExitOk);
  EXPECT_NE(out_.str().find("LabelSize          = 25\n"), std::string::npos) << out_.str();
  EXPECT_FALSE(fs::exists(path("profile")));  // showing writes nothing

  ASSERT_EQ(run({"settings", "--profile", path("profile"), "PrinterSpeed=5", "TopMargin=-40"}),
            kExitOk);
  EXPECT_NE(out_.str().find("PrinterSpeed       = 5\n"), std::string::npos);
  EXPECT_NE(out_.str().find("TopMargin          = -40\n"), std::string::npos);
  // Stored as given, no clamping: the speed reads back as index 5 + 2.
  put("q.tws", "? Speed\n? LabelTopMargin\n");
  ASSERT_EQ(run({"run", "--profile", path("profile"), "--output", path("o"), path("q.tws")}),
            kExitOk);
  EXPECT_EQ(out_.str(), "Speed = 7\nLabelTopMargin = -40\n");

  const std::string before = content("profile");
  EXPECT_EQ(run({"settings", "--profile", path("profile"), "LabelSize=30", "Speed=4"}), kExitUsage);
  EXPECT_NE(err_.str().find("\"Speed\" is a script property"), std::string::npos) << err_.str();
  EXPECT_EQ(run({"settings", "--profile", path("profile"), "LabelSize=3x"}), kExitUsage);
  EXPECT_EQ(content("profile"), before);  // nothing set when any assignment is bad
}

TEST_F(LinkedProgramTest, NamesListsTheWholeCatalogueInBothLanguages) {
  ASSERT_EQ(run({"names"}), kExitOk);
  const std::string listing = out_.str();
  EXPECT_NE(listing.find("Properties (21)"), std::string::npos);
  EXPECT_NE(listing.find("Methods (10)"), std::string::npos);
  EXPECT_NE(listing.find(" 20 Termotransfer"), std::string::npos);
  EXPECT_NE(listing.find("Термотрансферный"), std::string::npos);
  EXPECT_NE(listing.find("СформироватьШтрихкодPDF417  8           none"), std::string::npos)
      << listing;
  EXPECT_NE(listing.find("Печатать"), std::string::npos);
}

TEST_F(LinkedProgramTest, UsageErrorsAndUnknownCodePagesExitWithTwo) {
  EXPECT_EQ(run({}), kExitUsage);
  EXPECT_EQ(run({"run", "x.tws", "--device", "LPT9=/dev/null"}), kExitUsage);
  put("a.tws", "StartLabel()\n");
  EXPECT_EQ(run({"run", "--ansi", "NO-SUCH-PAGE", "--profile", path("p"), "--output", path("o"),
                 path("a.tws")}),
            kExitUsage);
  EXPECT_NE(err_.str().find("NO-SUCH-PAGE"), std::string::npos);
  EXPECT_EQ(run({"--version"}), kExitOk);
  EXPECT_EQ(out_.str(), "tagwright 1.0.11.7\n");
}

TEST_F(LinkedProgramTest, ANetworkPrinterGetsTheSameBytesAsAFileOneConnectionPerJob) {
  const std::string labels =
      "StartLabel()\nPutText(10, 20, 1, 1, 1, 0, \"A\", \"Сыр\")\nPrint(2)\nPrint(1)\n";
  put("com2.tws", "NumberPort = 4\n" + labels);
  put("usb.tws", "NumberPort = 12\n" + labels);
  ASSERT_EQ(run({"run", "--profile", path("p0"), "--output", path("out.bin"), path("com2.tws")}),
            kExitOk)
      << err_.str();
  const std::string expected = content("out.bin");
  testing::LoopbackPrinter printer({});
  for (const char* port : {"COM2", "USB"}) {
    ASSERT_EQ(run({"run", "--profile", path("p1"), "--device",
                   std::string(port) + "=" + printer.device(), "--on-port-error", "abort",
                   path(port == std::string("USB") ? "usb.tws" : "com2.tws")}),
              kExitOk)
        << err_.str();
    EXPECT_EQ(err_.str(), "") << "nothing to say when every job arrived";
  }
  ASSERT_TRUE(printer.waitForEnded(4));
  const std::vector<std::string> jobs = printer.connections();
  ASSERT_EQ(jobs.size(), 4u);
  EXPECT_EQ(jobs[0] + jobs[1], expected);
  EXPECT_EQ(jobs[2] + jobs[3], expected);
}

TEST_F(LinkedProgramTest, AnUnreachableNetworkPrinterDropsTheJobsWithinItsTimeouts) {
  put("a.tws", "NumberPort = 0\nStartLabel()\nPrint(1)\nPrint(1)\n");
  struct Case {
    testing::LoopbackPrinter::Setup setup;
    const char* option;
    const char* said;
  };
  const Case cases[] = {
      {{testing::LoopbackPrinter::Behaviour::NeverListen},
       "--busy-timeout=0.3",
       "still refuses the connection after 0.3 s"},
      {{testing::LoopbackPrinter::Behaviour::ReadAll, 0, std::chrono::milliseconds(0), 0, true},
       "--connect-timeout=0.3",
       "no answer within 0.3 s"},
  };
  for (const Case& c : cases) {
    testing::LoopbackPrinter printer(c.setup);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run({"run", "--profile", path("p"), "--device", "LPT1=" + printer.device(), c.option,
                   "--on-port-error", "ignore", path("a.tws")}),
              kExitJobsDropped);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    const std::string said = err_.str();
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    EXPECT_NE(said.find("2 of 2 print jobs dropped"), std::string::npos) << said;
    EXPECT_TRUE(printer.connections().empty());
  }
}

TEST_F(LinkedProgramTest, AJobTheDeviceDidNotTakeWholeCountsAsFailed) {
  put("a.tws", "NumberPort = 3\nStartLabel()\nPrint(1)\n");
  EXPECT_EQ(run({"run", "--profile", path("p"), "--device", "COM1=/dev/full", "--on-port-error",
                 "abort", path("a.tws")}),
            kExitJobsDropped);
  const std::string said = err_.str();
  EXPECT_NE(said.find("print job 1 failed on COM1 (/dev/full): the device refused the write: No "
                      "space left on device; 0 of "),
            std::string::npos)
      << said;
  EXPECT_NE(said.find("check the printer, then print the job again"), std::string::npos) << said;
  EXPECT_NE(said.find("1 of 1 print jobs dropped"), std::string::npos) << said;
}

TEST_F(LinkedProgramTest, ACupsQueueGetsTheJobsTitledWithTheScriptAndWaitFollowsThem) {
  if (!printServersSupported()) GTEST_SKIP() << "built without libcups (libcups2-dev)";
  if (!testing::PrivateCupsd::installed()) GTEST_SKIP() << "cupsd is not installed (cups)";
  testing::LoopbackPrinter printer({});
  testing::LoopbackPrinter refusing({testing::LoopbackPrinter::Behaviour::NeverListen});
  testing::PrivateCupsd cupsd({{"labels", "socket://127.0.0.1:" + std::to_string(printer.port())},
                               {"stuck", "socket://127.0.0.1:" + std::to_string(refusing.port())}});
  ASSERT_TRUE(cupsd.ready()) << cupsd.errorLog();
  put("shelf.tws",
      "NumberPort = 3\nStartLabel()\nPutText(1, 2, 1, 1, 1, 0, \"A\", \"Ёж\")\nPrint(1)\n");
  ASSERT_EQ(run({"run", "--profile", path("p"), "--output", path("out.bin"), path("shelf.tws")}),
            kExitOk);
  ASSERT_EQ(run({"run", "--profile", path("p"), "--device", "COM1=cups:labels@" + cupsd.server(),
                 "--wait", path("shelf.tws")}),
            kExitOk)
      << err_.str();
  ASSERT_TRUE(printer.waitForEnded(1));
  EXPECT_EQ(printer.connections(), std::vector<std::string>{content("out.bin")});
  EXPECT_NE(err_.str().find("tagwright: COM1: sent as job 1 to labels@" + cupsd.server() +
                            " (\"shelf.tws\")\n"),
            std::string::npos)
      << err_.str();
  EXPECT_NE(err_.str().find("job 1 on labels@" + cupsd.server() + " completed"), std::string::npos)
      << err_.str();

  // A job that the queue's printer never takes: failed, exit status 4.
  ASSERT_EQ(run({"run", "--profile", path("p"), "--device", "COM1=cups:stuck@" + cupsd.server(),
                 "--wait", "--busy-timeout=1", "--write-timeout=1", path("shelf.tws")}),
            kExitJobsDropped);
  EXPECT_NE(err_.str().find("print job 1 failed on COM1 (cups:stuck@" + cupsd.server() +
                            "): job 2 on stuck@"),
            std::string::npos)
      << err_.str();
  EXPECT_NE(err_.str().find("how much of it was printed is not known"), std::string::npos)
      << err_.str();
}

TEST_F(LinkedProgramTest, AMisspelledNetworkPrinterIsAUsageError) {
  put("a.tws", "StartLabel()\n");
  EXPECT_EQ(
      run({"run", "--profile", path("p"), "--device", "COM1=tcp://printer:91o0", path("a.tws")}),
      kExitUsage);
  EXPECT_NE(err_.str().find("--device COM1: \"tcp://printer:91o0\": the port must be a number"),
            std::string::npos)
      << err_.str();
  EXPECT_EQ(run({"run", "--profile", path("p"), "--device", "USB=cups:my queue", path("a.tws")}),
            kExitUsage);
  EXPECT_NE(err_.str().find("--device USB: \"cups:my queue\": \"my queue\" is not a queue name"),
            std::string::npos)
      << err_.str();
}

}  // namespace
}  // namespace tagwright::cli
