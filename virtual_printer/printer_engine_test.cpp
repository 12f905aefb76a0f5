#include "virtual_printer/printer_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "support/temp_dir.h"

namespace tagwright::cli::printer {
namespace {

using namespace std::chrono_literals;

const std::string kTwoLabels =
    "^Q40,3\r^W58\r^S4\r^C2\r^L\rAC,20,20,1,1,1,0,First\rE\r^C1\r^L\rR10,10,450,300,2,2\rE\r";

EngineSetup quickSetup() {
  EngineSetup setup;
  setup.speedFactor = 1000;
  setup.status.processing = 1ms;
  return setup;
}

TEST(PrinterEngine, AnswersOnlyWhileImmediateRepliesAreOn) {
  std::ostringstream out;
  PrinterLog log(out, false);
  PrinterEngine engine(quickSetup(), log);
  const auto t0 = PrinterClock::now();
  EXPECT_EQ(engine.receive("~S,STATUS\r~S,CHECK\r", t0), "");
  engine.endJob(t0);
  EXPECT_EQ(engine.receive("^XSET,IMMEDIATE,1\r~S,CHECK\r~S,STATUS\r", t0), "00\r\n00,00000\r\n");
  engine.endJob(t0);
  // The setting is kept from one job to the next, as the printer stores it.
  EXPECT_EQ(engine.receive("~S,STATUS\r", t0), "00,00000\r\n");
  EXPECT_EQ(engine.receive("^XSET,IMMEDIATE,0\r~S,STATUS\r", t0), "");
  engine.endJob(t0);
  const std::string text = out.str();
  EXPECT_NE(text.find("query ~S,STATUS: not answered (immediate replies are off)"),
            std::string::npos);
  EXPECT_NE(text.find("query ~S,CHECK: answered 00"), std::string::npos);
  // Connections that only asked are no jobs.
  EXPECT_EQ(text.find("job "), std::string::npos) << text;
}

TEST(PrinterEngine, CountsLabelsDownWhilePrinting) {
  std::ostringstream out;
  PrinterLog log(out, false);
  EngineSetup setup = quickSetup();
  setup.immediateReplies = true;
  setup.speedFactor = 1;  // 43 mm at 4 ips: 423 ms a label
  PrinterEngine engine(setup, log);
  const auto t0 = PrinterClock::now();
  engine.receive(kTwoLabels, t0);
  engine.endJob(t0);
  EXPECT_EQ(engine.receive("~S,STATUS\r", t0), "60,00003\r\n");
  EXPECT_EQ(engine.receive("~S,STATUS\r", t0 + 10ms), "50,00003\r\n");
  EXPECT_EQ(engine.receive("~S,STATUS\r", t0 + 450ms), "50,00002\r\n");
  EXPECT_EQ(engine.receive("~S,STATUS\r", t0 + 1300ms), "00,00000\r\n");
}

TEST(PrinterEngine, LogsEveryLabelAndJobAndWritesThePictures) {
  test_support::TempDir dir;
  std::ostringstream out;
  PrinterLog log(out, false);
  EngineSetup setup = quickSetup();
  setup.pictureFolder = dir.file("pics");
  std::filesystem::create_directories(*setup.pictureFolder);
  PrinterEngine engine(setup, log);
  const auto t0 = PrinterClock::now();
  // The parallel port's test byte first, and the job in small pieces.
  const std::string job = std::string(1, '\0') + kTwoLabels;
  for (std::size_t at = 0; at < job.size(); at += 5) {
    engine.receive(std::string_view(job).substr(at, 5), t0);
  }
  engine.endJob(t0);
  engine.tick(t0 + 1s);
  const std::string text = out.str();
  EXPECT_NE(text.find("job 1, label 1: 464 x 320 dots, 58 x 40 mm, 2 copies, " + dir.file("pics") +
                      "/job1-1.png"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("job 1, label 2: 464 x 320 dots, 58 x 40 mm, 1 copy"), std::string::npos);
  EXPECT_NE(text.find("job 1: " + std::to_string(kTwoLabels.size()) + " bytes, 2 labels, 3 copies"),
            std::string::npos);
  EXPECT_NE(text.find("ready: every label printed, 3 labels since the start"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir.file("pics/job1-2.png")));
}

TEST(PrinterEngine, JsonLinesCarryTheSameFacts) {
  std::ostringstream out;
  PrinterLog log(out, true);
  EngineSetup setup = quickSetup();
  setup.status.faults = {{1, StatusCode::MediaEmpty}};
  setup.immediateReplies = true;
  PrinterEngine engine(setup, log);
  const auto t0 = PrinterClock::now();
  engine.receive(kTwoLabels, t0);
  engine.endJob(t0);
  EXPECT_EQ(engine.receive("~S,STATUS\r", t0 + 1s), "01,00002\r\n");
  std::istringstream lines(out.str());
  std::vector<std::string> events;
  for (std::string line; std::getline(lines, line);) {
    ASSERT_EQ(line.front(), '{') << line;
    ASSERT_EQ(line.back(), '}') << line;
    events.push_back(line);
  }
  ASSERT_EQ(events.size(), 5u) << out.str();
  EXPECT_EQ(events[0].rfind("{\"event\":\"label\",\"job\":1,\"label\":1,\"copies\":2,\"width\":464,"
                            "\"height\":320",
                            0),
            0u)
      << events[0];
  EXPECT_EQ(events[2].rfind("{\"event\":\"job\",\"job\":1,\"bytes\":" +
                                std::to_string(kTwoLabels.size()) + ",\"labels\":2,\"copies\":3",
                            0),
            0u)
      << events[2];
  EXPECT_EQ(events[3],
            "{\"event\":\"fault\",\"printed\":1,\"left\":2,\"code\":\"01\",\"state\":\"media empty "
            "or media jam\"}");
  EXPECT_EQ(events[4], "{\"event\":\"query\",\"command\":\"~S,STATUS\",\"answer\":\"01,00002\"}");
}

// What a JSON line carries, as the printer was given it: escaped where JSON
// needs it, UTF-8 as it is, and a byte that is not UTF-8 (printer data in
// another encoding) as U+FFFD, never as invalid JSON.
TEST(PrinterLogJson, EscapesWhatJsonCannotCarryAsItIs) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "\"plain\""},      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"\r\n\t", "\"\\r\\n\\t\""}, {std::string("\x01\x1f", 2), "\"\\u0001\\u001f\""},
      {"Молоко", "\"Молоко\""},    {"\xC0\xFF ^L", "\"\xEF\xBF\xBD\xEF\xBF\xBD ^L\""},
  };
  for (const auto& [text, json] : cases) {
    std::ostringstream out;
    PrinterLog log(out, true);
    log.notice(text);
    EXPECT_EQ(out.str(), "{\"event\":\"notice\",\"text\":" + json + "}\n");
  }
}

// What the soak compares byte for byte: each job's bytes as they came,
// without the queries and the reply setting, and not a byte more.
TEST(PrinterEngine, CapturesEachJobsBytesAndCanStaySilent) {
  test_support::TempDir folder;
  EngineSetup setup = quickSetup();
  setup.captureFolder = folder.file("");
  setup.answerQueries = false;
  setup.immediateReplies = true;
  std::ostringstream out;
  PrinterLog log(out, false);
  PrinterEngine engine(setup, log);
  const auto t0 = PrinterClock::now();
  const std::size_t cut = kTwoLabels.find("^L");  // a query between commands
  const std::string first = kTwoLabels.substr(0, cut);
  const std::string rest = kTwoLabels.substr(cut);
  EXPECT_EQ(engine.receive(std::string(1, '\0') + first + "~S,STATUS\r", t0), "");
  EXPECT_EQ(engine.receive("^XSET,IMMEDIATE,1\r" + rest + "~S,CHECK\r", t0), "");
  EXPECT_TRUE(engine.endJob(t0));
  EXPECT_EQ(engine.receive("~S,STATUS\r", t0), "");
  EXPECT_FALSE(engine.endJob(t0));  // only a query: no job, nothing captured
  EXPECT_EQ(engine.receive("^L\rE\r", t0), "");
  EXPECT_TRUE(engine.endJob(t0));
  auto read = [&](const std::string& name) {
    std::ifstream in(folder.file(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ(read("job1.bin"), kTwoLabels);
  EXPECT_EQ(read("job2.bin"), "^L\rE\r");
  EXPECT_FALSE(std::filesystem::exists(folder.file("job3.bin")));
  EXPECT_NE(out.str().find("query ~S,STATUS: not answered"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace tagwright::cli::printer
