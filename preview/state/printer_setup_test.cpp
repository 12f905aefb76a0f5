#include "preview/state/printer_setup.h"

#include <gtest/gtest.h>

#include <string>

#include "preview/state/label_geometry.h"

namespace tagwright::preview {
namespace {

struct Applied {
  PrinterSetup setup;
  std::vector<PreviewNote> notes;
};

Applied apply(const std::string& line, PrinterSetup setup = {}) {
  Applied applied{setup, {}};
  applySetupCommand(applied.setup, Command{7, line, {}}, applied.notes);
  return applied;
}

TEST(PrinterSetup, MediaFormsSetTheLength) {
  for (const char* line : {"^Q30,3", "^Q30,0,12", "^Q30,4,2+", "^Q30,4,2-", "^Q30.0,3"}) {
    const Applied applied = apply(line);
    EXPECT_DOUBLE_EQ(applied.setup.lengthMm, 30) << line;
    EXPECT_TRUE(applied.notes.empty()) << line << ": " << applied.notes[0].text;
  }
}

TEST(PrinterSetup, MalformedAndUnknownCommandsAreNotedAndChangeNothing) {
  for (const char* line : {"^Q30", "^Q30,4,2", "^Q,3", "^Qx,3", "^Q0,3", "^Q30,3,1,1", "^W", "^W-5",
                           "^H25", "^S0", "^O2", "^R-1", "~Qabc", "^C", "^Zfoo", "~XYZ"}) {
    const Applied applied = apply(line);
    EXPECT_DOUBLE_EQ(applied.setup.lengthMm, 25) << line;
    EXPECT_DOUBLE_EQ(applied.setup.widthMm, 43) << line;
    EXPECT_EQ(applied.setup.leftMarginDots, 0) << line;
    ASSERT_EQ(applied.notes.size(), 1u) << line;
    EXPECT_EQ(applied.notes[0].offset, 7u) << line;
  }
}

TEST(PrinterSetup, KnownCommandsWithoutEffectOnThePictureAreQuiet) {
  for (const char* line : {"^S4", "^AT", "^AD", "^H0", "^H19", "^O1", "^D0", "^E5",
                           "^XSET,CODEPAGE,10", "^XSET,IMMEDIATE,1", "~S,CHECK", "~S,STATUS"}) {
    EXPECT_TRUE(apply(line).notes.empty()) << line;
  }
}

TEST(PrinterSetup, PictureCommandsAreKeptWithTheirOffsets) {
  Applied applied = apply("^R16");
  applied = apply("~Q-8", applied.setup);
  applied = apply("~R50", applied.setup);
  applied = apply("^W58", applied.setup);
  EXPECT_EQ(applied.setup.leftMarginDots, 16);
  EXPECT_EQ(applied.setup.verticalOffsetDots, -8);
  EXPECT_EQ(applied.setup.turnValueMm, 50);
  EXPECT_EQ(applied.setup.turnOffset, std::optional<std::size_t>(7));
  EXPECT_DOUBLE_EQ(applied.setup.widthMm, 58);
}

TEST(PrinterSetup, CopiesBelowOnePrintOnceWithANote) {
  EXPECT_EQ(apply("^C3").setup.copies, 3);
  const Applied zero = apply("^C0");
  EXPECT_EQ(zero.setup.copies, 1);
  ASSERT_EQ(zero.notes.size(), 1u);
  EXPECT_NE(zero.notes[0].text.find("assumed"), std::string::npos);
  EXPECT_EQ(apply("^C-4").setup.copies, 1);
}

struct SizeCase {
  double widthMm;
  double lengthMm;
  int dotsPerMm;
  int widthDots;
  int heightDots;
};

TEST(LabelGeometry, SizesAreMillimetresTimesWholeDotsPerMm) {
  for (const SizeCase& c : {SizeCase{43, 25, 8, 344, 200}, SizeCase{43, 25, 12, 516, 300},
                            SizeCase{100, 150, 8, 800, 1200}, SizeCase{100, 150, 12, 1200, 1800},
                            SizeCase{58, 40, 8, 464, 320}, SizeCase{25.5, 10, 12, 306, 120},
                            SizeCase{1000, 1000, 8, 8000, 8000}}) {
    PrinterSetup setup;
    setup.widthMm = c.widthMm;
    setup.lengthMm = c.lengthMm;
    const LabelSize size = labelSizeOf(setup, c.dotsPerMm);
    EXPECT_TRUE(size.error.empty()) << size.error;
    EXPECT_EQ(size.widthDots, c.widthDots) << c.widthMm << " mm at " << c.dotsPerMm;
    EXPECT_EQ(size.heightDots, c.heightDots) << c.lengthMm << " mm at " << c.dotsPerMm;
  }
}

TEST(LabelGeometry, TooBigLabelsAreRefusedNamingTheSize) {
  struct Case {
    double widthMm;
    double lengthMm;
    int dotsPerMm;
    const char* named;
  };
  for (const Case& c :
       {Case{1001, 40, 8, "1001 x 40 mm"}, Case{40, 1500, 8, "40 x 1500 mm"},
        Case{1000, 1000, 12, "12000 x 12000 dots"}, Case{800, 900, 12, "9600 x 10800 dots"}}) {
    PrinterSetup setup;
    setup.widthMm = c.widthMm;
    setup.lengthMm = c.lengthMm;
    const LabelSize size = labelSizeOf(setup, c.dotsPerMm);
    EXPECT_EQ(size.widthDots, 0);
    EXPECT_NE(size.error.find(c.named), std::string::npos) << size.error;
  }
}

}  // namespace
}  // namespace tagwright::preview
