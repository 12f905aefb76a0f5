// The native tagwright program prints to the virtual printer over tcp://
// and over a pseudo-terminal, asks it how it is, and confirms its jobs; the
// labels the printer drew carry the scripts' barcodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cli/app/exit_codes.h"
#include "preview/barcode/barcode_test_support.h"
#include "preview/png/png_file.h"
#include "support/linked_program_fixture.h"
#include "support/running_printer.h"

namespace tagwright::cli {
namespace {

using namespace std::chrono_literals;
using printer::ConnectionFault;
using printer::EngineSetup;
using printer::FaultRule;
using testing::RunningPrinter;

// Two jobs on COM1, one label each, each with its own barcode.
constexpr const char* kTwoJobs = R"(NumberPort = 3
LabelHeight = 30
LabelWidth = 58
GapLenght = 3
Speed = 4
BarcodeWidth = 2
StartLabel()
PutText(20, 10, 1, 1, 1, 0, "A", "first")
PutBarcode("Q", 20, 50, 80, 0, "TW-000123")
Print(1)
StartLabel()
PutText(20, 10, 1, 1, 1, 0, "A", "second")
PutBarcode("E", 20, 50, 80, 0, "4607001234562")
Print(1)
)";

const char* const kFirstData = "TW-000123";
const char* const kSecondData = "4607001234562";

class PrinterEndToEnd : public LinkedProgramTest {
 protected:
  EngineSetup printerSetup(std::vector<FaultRule> faults = {},
                           std::optional<StatusCode> state = std::nullopt) {
    EngineSetup setup;
    setup.pictureFolder = path("pictures");
    std::filesystem::create_directories(*setup.pictureFolder);
    setup.speedFactor = 100;  // 33 mm at 4 ips: about 3 ms a label
    setup.status.processing = 2ms;
    setup.status.faults = std::move(faults);
    setup.status.fixedState = state;
    return setup;
  }

  static std::string tcpDevice(RunningPrinter& printer) {
    return "COM1=tcp://" + printer.input().where();
  }

  int runConfirmed(const std::string& device) {
    put("jobs.tws", kTwoJobs);
    return run({"run", "--profile", path("profile"), "--device", device, "--confirm",
                "--status-timeout", "1", "--connect-timeout", "1", "--quiet", path("jobs.tws")});
  }

  // The barcodes on every picture the printer drew, in the order it drew
  // them. On a serial line jobs sent in quick succession may be one job to
  // the printer (it knows a job's end only by the quiet after it).
  std::vector<std::string> barcodesInOrder() {
    std::vector<std::pair<std::pair<int, int>, std::string>> pictures;
    for (const auto& entry : std::filesystem::directory_iterator(path("pictures"))) {
      const std::string name = entry.path().filename().string();
      int job = 0;
      int label = 0;
      if (std::sscanf(name.c_str(), "job%d-%d.png", &job, &label) == 2) {
        pictures.push_back({{job, label}, name});
      }
    }
    std::sort(pictures.begin(), pictures.end());
    std::vector<std::string> read;
    for (const auto& picture : pictures) read.push_back(barcodeOn(picture.second));
    return read;
  }

  // What zxing-cpp reads on the picture the printer drew.
  std::string barcodeOn(const std::string& picture) {
    const preview::PngPicture read =
        preview::readPngThresholded(path("pictures/" + picture), 1 << 24);
    if (!read.error.empty()) return "(" + read.error + ")";
    return preview::testing::scan(read.image).value_or("(nothing read)");
  }
};

TEST_F(PrinterEndToEnd, OverTcpBothJobsPrintAndTheirBarcodesRead) {
  RunningPrinter printer(testing::loopbackTcpPrinter(), printerSetup());
  EXPECT_EQ(runConfirmed(tcpDevice(printer)), kExitOk) << err_.str();
  EXPECT_NE(err_.str().find("job 1 on COM1: printed (00,00000)"), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find("job 2 on COM1: printed (00,00000)"), std::string::npos) << err_.str();
  printer.stopAndJoin();
  EXPECT_EQ(barcodeOn("job1-1.png"), kFirstData);
  EXPECT_EQ(barcodeOn("job2-1.png"), kSecondData);
  EXPECT_NE(printer.log().find("job 2, label 1: 464 x 240 dots, 58 x 30 mm, 1 copy"),
            std::string::npos)
      << printer.log();
}

TEST_F(PrinterEndToEnd, OverTcpAJobThatMeetsMediaEmptyFailsWithTheReason) {
  RunningPrinter printer(testing::loopbackTcpPrinter(),
                         printerSetup({{1, StatusCode::MediaEmpty}}));
  EXPECT_EQ(runConfirmed(tcpDevice(printer)), kExitJobsDropped) << err_.str();
  const std::string errors = err_.str();
  EXPECT_NE(errors.find("job 1 on COM1: printed (00,00000)"), std::string::npos) << errors;
  EXPECT_NE(errors.find("job 2 on COM1: not printed: the printer reports media empty or media "
                        "jam, 1 label left (01,00001)"),
            std::string::npos)
      << errors;
  EXPECT_NE(errors.find("1 of 2 print jobs dropped"), std::string::npos) << errors;
  // It reached the printer and was drawn all the same.
  printer.stopAndJoin();
  EXPECT_EQ(barcodeOn("job2-1.png"), kSecondData);
}

TEST_F(PrinterEndToEnd, OverAPseudoTerminalTheSame) {
  RunningPrinter printer(testing::pseudoTerminalPrinter(),
                         printerSetup({{1, StatusCode::MediaEmpty}}));
  EXPECT_EQ(runConfirmed("COM1=" + printer.input().where()), kExitJobsDropped) << err_.str();
  const std::string errors = err_.str();
  EXPECT_NE(errors.find("job 1 on COM1: printed (00,00000)"), std::string::npos) << errors;
  EXPECT_NE(errors.find("job 2 on COM1: not printed: the printer reports media empty"),
            std::string::npos)
      << errors;
  printer.stopAndJoin();
  EXPECT_EQ(barcodesInOrder(), (std::vector<std::string>{kFirstData, kSecondData}));
}

TEST_F(PrinterEndToEnd, StatusTellsReadyFaultAndSilenceApart) {
  {
    RunningPrinter printer(testing::loopbackTcpPrinter(), printerSetup());
    EXPECT_EQ(run({"status", "--device", tcpDevice(printer)}), kExitOk) << err_.str();
    EXPECT_EQ(out_.str(), "COM1 (tcp://" + printer.input().where() + "): ready (00,00000)\n");
  }
  {
    RunningPrinter printer(testing::pseudoTerminalPrinter(),
                           printerSetup({}, StatusCode::HeadOpen));
    const std::string terminal = printer.input().where();
    EXPECT_EQ(run({"status", "COM3", "--device", "COM3=" + terminal}), kExitJobsDropped);
    EXPECT_EQ(out_.str(), "COM3 (" + terminal + "): print head open (04,00000)\n");
  }
  {
    RunningPrinter printer(testing::loopbackTcpPrinter(ConnectionFault::StopReading),
                           printerSetup());
    EXPECT_EQ(run({"status", "--status-timeout", "0.2", "--device", tcpDevice(printer)}),
              kExitNoAnswer);
    EXPECT_NE(
        err_.str().find("no answer within 200 ms: the printer's immediate replies may be off"),
        std::string::npos)
        << err_.str();
    EXPECT_NE(err_.str().find("one-way (a print-server queue"), std::string::npos);
  }
}

TEST_F(PrinterEndToEnd, PortsThatCannotAnswerAreRefusedBeforeAnythingIsSent) {
  put("jobs.tws", kTwoJobs);
  put("capture.prn", "");
  EXPECT_EQ(run({"status", "--device", "COM1=" + path("capture.prn")}), kExitUsage);
  EXPECT_NE(err_.str().find("cannot answer status queries: a file cannot answer"),
            std::string::npos)
      << err_.str();
  EXPECT_EQ(run({"run", "--confirm", "--profile", path("profile"), "--device", "COM1=cups:labels",
                 path("jobs.tws")}),
            kExitUsage);
  EXPECT_NE(err_.str().find("--confirm cannot ask COM1 (cups:labels): a print-server queue"),
            std::string::npos)
      << err_.str();
  EXPECT_EQ(run({"run", "--confirm", "--profile", path("profile"), "--output", path("capture.prn"),
                 path("jobs.tws")}),
            kExitUsage);
  EXPECT_EQ(content("capture.prn"), "");  // nothing was sent
}

}  // namespace
}  // namespace tagwright::cli
