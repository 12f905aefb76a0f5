#include "cli/app/progress_meter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/memory_stream.h"

namespace tagwright::cli {
namespace {

using std::chrono::milliseconds;

TEST(ProgressLine, ShowsBytesRateAndTimeLeft) {
  struct Case {
    std::uint64_t done, total;
    long long elapsedMs;
    const char* line;
  };
  const Case cases[] = {
      // 300 bytes a label at 9600 baud: about 960 bytes a second.
      {9600, 300000, 10000, "9.6 of 300.0 kB, 1.0 kB/s, 5 min 3 s left"},
      {150000, 300000, 2000, "150.0 of 300.0 kB, 75.0 kB/s, 2 s left"},
      {0, 300000, 1500, "0.0 of 300.0 kB, waiting for the printer"},
      {5'000'000, 20'000'000, 2000, "5.0 of 20.0 MB, 2.5 MB/s, 6 s left"},
      {1000, 8'000'000, 1000, "1.0 of 8000.0 kB, 1.0 kB/s, 2 h 13 min left"},
      {300000, 300000, 4000, "300.0 of 300.0 kB, 75.0 kB/s, 0 s left"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(progressLine(c.done, c.total, milliseconds(c.elapsedMs)), c.line);
  }
}

// A terminal that is a memory buffer, and a clock the test moves.
struct Screen {
  std::string text() { return stream.text(); }
  testing::MemoryStream stream;
  std::FILE* file = stream.get();
  std::chrono::steady_clock::time_point now{};
};

TEST(TerminalProgress, ShortWritesShowNothingLongOnesALineThatIsClearedAtTheEnd) {
  Screen screen;
  TerminalProgress meter(screen.file, [&] { return screen.now; });
  meter.begin(1000);
  screen.now += milliseconds(900);
  meter.advance(900);
  meter.end();
  EXPECT_EQ(screen.text(), "") << "a write under a second shows nothing";

  meter.begin(300000);
  screen.now += milliseconds(500);
  meter.advance(500);
  EXPECT_EQ(screen.text(), "");
  screen.now += milliseconds(500);
  meter.advance(1000);
  const std::string first = "\rtagwright: sending 1.0 of 300.0 kB, 1.0 kB/s, 4 min 59 s left\x1b[K";
  EXPECT_EQ(screen.text(), first);
  screen.now += milliseconds(100);
  meter.advance(1100);
  EXPECT_EQ(screen.text(), first) << "redrawn at most four times a second";
  screen.now += milliseconds(200);
  meter.advance(1300);
  EXPECT_NE(screen.text().find("1.3 of 300.0 kB"), std::string::npos) << screen.text();
  meter.end();
  const std::string all = screen.text();
  EXPECT_EQ(all.substr(all.size() - 4), "\r\x1b[K") << "the line is cleared";
  meter.advance(300000);
  EXPECT_EQ(screen.text(), all) << "nothing after the end";
}

}  // namespace
}  // namespace tagwright::cli
