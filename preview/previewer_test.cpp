#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "preview/preview.h"

namespace tagwright::preview {
namespace {

using namespace std::string_literals;

// A job of one label format with the given set-up and elements, each
// command ended with CR.
std::string job(const std::string& setup, const std::string& elements) {
  std::string bytes;
  const auto add = [&](const std::string& lines) {
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line, '|');) bytes += line + '\r';
  };
  add(setup);
  bytes += "^L\r";
  add(elements);
  bytes += "E\r";
  return bytes;
}

PreviewOptions optionsAt(int dotsPerMm, std::string imageFolder = {}, std::string fontFile = {}) {
  PreviewOptions options;
  options.dotsPerMm = dotsPerMm;
  options.imageFolder = std::move(imageFolder);
  options.fontFile = std::move(fontFile);
  return options;
}

bool hasNote(const std::vector<PreviewNote>& notes, std::size_t offset, const std::string& part) {
  for (const PreviewNote& note : notes) {
    if (note.offset == offset && note.text.find(part) != std::string::npos) return true;
  }
  return false;
}

std::string allNotes(const std::vector<PreviewNote>& notes) {
  std::string text;
  for (const PreviewNote& note : notes)
    text += std::to_string(note.offset) + ": " + note.text + "\n";
  return text;
}

TEST(Previewer, BoxSidesLieInsideTheCornersPixelExact) {
  Previewer previewer(optionsAt(8));
  const JobPreview preview = previewer.renderJob(job("^W10|^Q10,2", "R10,20,40,35,3,2"));
  ASSERT_EQ(preview.labels.size(), 1u);
  const Bitmap& image = preview.labels[0].image;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool inBox = x >= 10 && x <= 40 && y >= 20 && y <= 35;
      const bool inHole = x >= 13 && x <= 37 && y >= 22 && y <= 33;
      ASSERT_EQ(image.black(x, y), inBox && !inHole) << x << "," << y;
    }
  }
  EXPECT_TRUE(preview.labels[0].notes.empty()) << allNotes(preview.labels[0].notes);
}

TEST(Previewer, SolidAndExclusiveOrAreasPixelExact) {
  Previewer previewer(optionsAt(8));
  // A solid area, then an exclusive-or area over half of it and past it.
  const JobPreview preview =
      previewer.renderJob(job("^W10|^Q10,2", "Lo,30,10,10,20|Le,20,15,50,30"));
  ASSERT_EQ(preview.labels.size(), 1u);
  const Bitmap& image = preview.labels[0].image;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool solid = x >= 10 && x <= 30 && y >= 10 && y <= 20;
      const bool inverted = x >= 20 && x <= 50 && y >= 15 && y <= 30;
      ASSERT_EQ(image.black(x, y), solid != inverted) << x << "," << y;
    }
  }
}

TEST(Previewer, LabelSizesAreExactAtBothResolutions) {
  struct Case {
    int dotsPerMm;
    std::string setup;
    int width;
    int height;
  };
  for (const Case& c :
       {Case{8, "", 344, 200}, Case{12, "", 516, 300}, Case{8, "^Q40,4,2+|^W58", 464, 320},
        Case{12, "^Q40,4,2-|^W58", 696, 480}, Case{8, "^Q30,0,12|^W80", 640, 240},
        Case{12, "^Q150,3|^W100", 1200, 1800}}) {
    Previewer previewer(optionsAt(c.dotsPerMm));
    const JobPreview preview = previewer.renderJob(job(c.setup, ""));
    ASSERT_EQ(preview.labels.size(), 1u);
    EXPECT_EQ(preview.labels[0].image.width(), c.width) << c.setup << " at " << c.dotsPerMm;
    EXPECT_EQ(preview.labels[0].image.height(), c.height) << c.setup << " at " << c.dotsPerMm;
  }
}

TEST(Previewer, SetUpStateCarriesToTheNextLabelAndTheNextJob) {
  Previewer previewer(optionsAt(8));
  const std::string first = job("^Q30,3|^W50|^C4|^R5", "Lo,0,0,0,0") + "^L\rLo,0,0,0,0\rE\r";
  const JobPreview one = previewer.renderJob(first);
  ASSERT_EQ(one.labels.size(), 2u);
  for (const LabelPicture& label : one.labels) {
    EXPECT_EQ(label.image.width(), 400);
    EXPECT_EQ(label.image.height(), 240);
    EXPECT_EQ(label.copies, 4);
    EXPECT_TRUE(label.image.black(5, 0));  // moved by the margin
    EXPECT_FALSE(label.image.black(0, 0));
  }
  const JobPreview two = previewer.renderJob("^L\rLo,0,0,0,0\rE\r");
  ASSERT_EQ(two.labels.size(), 1u);
  EXPECT_EQ(two.labels[0].image.width(), 400);
  EXPECT_EQ(two.labels[0].copies, 4);
  EXPECT_TRUE(two.labels[0].image.black(5, 0));
  // The margin's note points at this job's label, not into the first job.
  EXPECT_TRUE(hasNote(two.labels[0].notes, 0, "earlier job")) << allNotes(two.labels[0].notes);
  const JobPreview three = previewer.renderJob("^W20\r^C1\r^R0\r^L\rE\r");
  ASSERT_EQ(three.labels.size(), 1u);
  EXPECT_EQ(three.labels[0].image.width(), 160);
  EXPECT_EQ(three.labels[0].copies, 1);
}

TEST(Previewer, LabelsHandedOneAtATimeAreTheLabelsOfTheJob) {
  Previewer kept(optionsAt(8));
  Previewer streamed(optionsAt(8));
  const std::string bytes = job("^W20|^C2", "Lo,0,0,5,5") + "stray\r^L\rLo,1,1,9,9\rE\r";
  const JobPreview whole = kept.renderJob(bytes);
  std::vector<long long> blackCounts;
  const std::vector<PreviewNote> notes = streamed.renderEachLabel(
      bytes, [&](LabelPicture&& label) { blackCounts.push_back(label.image.blackCount()); });
  ASSERT_EQ(whole.labels.size(), 2u);
  EXPECT_EQ(blackCounts, (std::vector<long long>{36, 81}));
  EXPECT_EQ(allNotes(notes), allNotes(whole.notes));
  EXPECT_TRUE(hasNote(notes, 25, "outside a label format")) << allNotes(notes);
}

TEST(Previewer, SetUpInsideALabelAppliesToTheNextOne) {
  Previewer previewer(optionsAt(8));
  const JobPreview preview = previewer.renderJob("^W10\r^L\r^W20\rE\r^L\rE\r");
  ASSERT_EQ(preview.labels.size(), 2u);
  EXPECT_EQ(preview.labels[0].image.width(), 80);
  EXPECT_EQ(preview.labels[1].image.width(), 160);
  EXPECT_TRUE(hasNote(preview.notes, 8, "inside a label format")) << allNotes(preview.notes);
}

TEST(Previewer, MarginOffsetAndHalfTurnMoveThePicture) {
  Previewer previewer(optionsAt(8));
  // 10 x 10 mm (80 x 80 dots); a dot at (0, 0) moved by the margin and the
  // offset, then the label turned by 180 degrees.
  const JobPreview moved = previewer.renderJob(job("^W10|^Q10,2|^R7|~Q+3", "Lo,0,0,0,0"));
  ASSERT_EQ(moved.labels.size(), 1u);
  EXPECT_TRUE(moved.labels[0].image.black(7, 3));
  EXPECT_EQ(moved.labels[0].image.blackCount(), 1);
  EXPECT_TRUE(hasNote(moved.labels[0].notes, 12, "7 dots to the right"))
      << allNotes(moved.labels[0].notes);
  const JobPreview up = previewer.renderJob(job("^R0|~Q-3", "Lo,0,5,0,5"));
  EXPECT_TRUE(up.labels[0].image.black(0, 2));
  const JobPreview turned = previewer.renderJob(job("~Q+0|~R5", "Lo,0,0,1,0"));
  EXPECT_TRUE(turned.labels[0].image.black(79, 79));
  EXPECT_TRUE(turned.labels[0].image.black(78, 79));
  EXPECT_EQ(turned.labels[0].image.blackCount(), 2);
  EXPECT_TRUE(hasNote(turned.labels[0].notes, 5, "180 degrees"))
      << allNotes(turned.labels[0].notes);
  const JobPreview upright = previewer.renderJob(job("~R105", "Lo,0,0,0,0"));
  EXPECT_TRUE(upright.labels[0].image.black(0, 0));
}

TEST(Previewer, LabelOptionsInvertAndMirrorTheWholeLabel) {
  Previewer previewer(optionsAt(8));
  const std::string setup = "^W10\r^Q10,2\r";  // 80 x 80 dots
  const JobPreview inverted = previewer.renderJob(setup + "^LI\rLo,0,0,9,0\rE\r");
  EXPECT_EQ(inverted.labels.at(0).image.blackCount(), 80 * 80 - 10);
  EXPECT_FALSE(inverted.labels[0].image.black(0, 0));
  const JobPreview mirrored = previewer.renderJob(setup + "^LM\rLo,0,0,9,0\rE\r");
  EXPECT_TRUE(mirrored.labels.at(0).image.black(79, 0));
  EXPECT_TRUE(mirrored.labels[0].image.black(70, 0));
  EXPECT_FALSE(mirrored.labels[0].image.black(69, 0));
  const JobPreview unknown = previewer.renderJob(setup + "^LX\rE\r");
  EXPECT_TRUE(hasNote(unknown.labels.at(0).notes, 12, "label option 'X'"))
      << allNotes(unknown.labels[0].notes);
}

TEST(Previewer, AppliedAssumptionsAreNotedAtTheirElements) {
  Previewer previewer(optionsAt(8));
  const JobPreview preview = previewer.renderJob(
      job("", "AA,100,10,1,1,0,1,Down|AI,0,60,1,1,0,0,Cell|AA,0,100,1,1,0,0,Up"));
  const std::vector<PreviewNote>& notes = preview.labels.at(0).notes;
  EXPECT_TRUE(hasNote(notes, 3, "90 degrees clockwise")) << allNotes(notes);
  EXPECT_TRUE(hasNote(notes, 26, "16 x 26")) << allNotes(notes);
  EXPECT_EQ(notes.size(), 2u) << allNotes(notes);
}

TEST(Previewer, NotesCarryTheOffsetsOfTheirCommands) {
  Previewer previewer(optionsAt(8));
  const std::string bytes = "^W10\r^Zz\r^L\rXYZ\rAA,1,1,1,1,0,9,bad\rR1,1\rE\rstray\r^L\r";
  const JobPreview preview = previewer.renderJob(bytes);
  ASSERT_EQ(preview.labels.size(), 1u);
  const std::vector<PreviewNote>& label = preview.labels[0].notes;
  EXPECT_TRUE(hasNote(preview.notes, 5, "does not know")) << allNotes(preview.notes);
  EXPECT_TRUE(hasNote(label, 12, "not a command the printer knows")) << allNotes(label);
  EXPECT_TRUE(hasNote(label, 16, "rotation")) << allNotes(label);
  EXPECT_TRUE(hasNote(label, 35, "6 fields")) << allNotes(label);
  EXPECT_TRUE(hasNote(preview.notes, 42, "outside a label format")) << allNotes(preview.notes);
  EXPECT_TRUE(hasNote(preview.notes, 48, "no E")) << allNotes(preview.notes);
}

TEST(Previewer, TooBigLabelsAreRefusedWithTheirSize) {
  Previewer previewer(optionsAt(12));
  const JobPreview preview = previewer.renderJob(job("^W900|^Q800,3", "Lo,0,0,10,10"));
  ASSERT_EQ(preview.labels.size(), 1u);
  EXPECT_TRUE(preview.labels[0].image.empty());
  EXPECT_NE(preview.labels[0].error.find("900 x 800 mm"), std::string::npos)
      << preview.labels[0].error;
  EXPECT_NE(preview.labels[0].error.find("10800 x 9600 dots"), std::string::npos);
  const JobPreview huge = previewer.renderJob(job("^W5000", ""));
  EXPECT_NE(huge.labels[0].error.find("5000 x 800 mm"), std::string::npos);
}

TEST(Previewer, KeptPicturesStayWithinTheirBudgetAndHandedOverOnesHaveNone) {
  PreviewOptions options = optionsAt(8);
  options.maxKeptDots = 80 * 80 * 2;  // two 10 x 10 mm labels
  const std::string bytes = "^W10\r^Q10,2\r^L\rE\r^L\rE\r^L\rE\r";
  Previewer kept(options);
  const JobPreview preview = kept.renderJob(bytes);
  ASSERT_EQ(preview.labels.size(), 3u);
  EXPECT_FALSE(preview.labels[1].image.empty());
  EXPECT_TRUE(preview.labels[2].image.empty());
  EXPECT_NE(preview.labels[2].error.find("80 x 80 dots"), std::string::npos)
      << preview.labels[2].error;
  // The budget is per job.
  EXPECT_EQ(kept.renderJob("^L\rE\r").labels.at(0).image.width(), 80);

  Previewer streamed(options);
  int drawn = 0;
  streamed.renderEachLabel(bytes,
                           [&](LabelPicture&& label) { drawn += label.image.empty() ? 0 : 1; });
  EXPECT_EQ(drawn, 3);
}

TEST(Previewer, CopiesBelowOnePrintOnce) {
  Previewer previewer(optionsAt(8));
  const JobPreview preview = previewer.renderJob(job("^C0", ""));
  ASSERT_EQ(preview.labels.size(), 1u);
  EXPECT_EQ(preview.labels[0].copies, 1);
  EXPECT_TRUE(hasNote(preview.notes, 0, "once"));
}

// The same two bytes are "ра" read as CP866 and "аЁ"-like letters as
// CP1251: decoded by the page each command is written in, they draw
// Cyrillic letters, not question marks.
TEST(Previewer, TextIsDecodedFromOemForResidentFontsAndAnsiForDownloadedOnes) {
  Previewer previewer(optionsAt(8));
  const auto drawn = [&](const std::string& element) {
    const JobPreview preview = previewer.renderJob(job("^W20|^Q10,2", element));
    return preview.labels.at(0).image;
  };
  const Bitmap oemLetters = drawn("AA,0,0,1,1,0,0,\x8C\xA8\xE0");   // Мир in CP866
  const Bitmap ansiLetters = drawn("VA,0,0,1,1,0,0,\xCC\xE8\xF0");  // Мир in CP1251
  const Bitmap questionMarks = drawn("AA,0,0,1,1,0,0,???");
  const Bitmap latin = drawn("AA,0,0,1,1,0,0,Mup");
  EXPECT_GT(oemLetters.blackCount(), 0);
  EXPECT_EQ(oemLetters.blackCount(), ansiLetters.blackCount());
  EXPECT_NE(oemLetters.blackCount(), questionMarks.blackCount());
  EXPECT_NE(oemLetters.blackCount(), latin.blackCount());
  // The CP1251 bytes of Мир read as OEM are other letters.
  EXPECT_NE(drawn("AA,0,0,1,1,0,0,\xCC\xE8\xF0").blackCount(), oemLetters.blackCount());
}

TEST(Previewer, FontsHaveTheirHeightsAtBothResolutions) {
  struct Case {
    int dotsPerMm;
    char font;
    int height;
  };
  for (const Case& c :
       {Case{8, 'A', 17}, Case{8, 'C', 28}, Case{8, 'H', 85}, Case{12, 'A', 25}, Case{12, 'E', 58},
        Case{12, 'H', 125}, Case{8, 'I', 26}, Case{12, 'I', 26}}) {
    Previewer previewer(optionsAt(c.dotsPerMm));
    // White on black fills the text's whole box.
    const JobPreview preview =
        previewer.renderJob(job("^W60|^Q30,2", "A"s + c.font + ",0,0,1,1,0,0I,Hg"));
    const Bitmap& image = preview.labels.at(0).image;
    int height = 0;
    while (image.black(0, height)) ++height;
    EXPECT_EQ(height, c.height) << c.font << " at " << c.dotsPerMm;
  }
}

TEST(Previewer, UnknownFontLettersDrawAsFontAWithANote) {
  Previewer previewer(optionsAt(8));
  const JobPreview known = previewer.renderJob(job("", "AA,0,0,1,1,0,0,Text"));
  const JobPreview unknown = previewer.renderJob(job("", "AZ,0,0,1,1,0,0,Text"));
  EXPECT_EQ(known.labels[0].image.blackCount(), unknown.labels[0].image.blackCount());
  EXPECT_TRUE(hasNote(unknown.labels[0].notes, 3, "drawn as font A"));
  const JobPreview downloaded = previewer.renderJob(job("", "VB,0,0,1,1,0,0,Text"));
  EXPECT_EQ(known.labels[0].image.blackCount(), downloaded.labels[0].image.blackCount());
  EXPECT_TRUE(hasNote(downloaded.labels[0].notes, 3, "fallback font"));
}

TEST(Previewer, AMissingFontIsANotePerTextAndTheRestIsDrawn) {
  Previewer previewer(optionsAt(8, "", "/nonexistent/font.ttf"));
  const JobPreview preview =
      previewer.renderJob(job("", "AA,0,0,1,1,0,0,Text|Lo,0,0,9,9|VA,0,50,1,1,0,0,More"));
  ASSERT_EQ(preview.labels.size(), 1u);
  EXPECT_EQ(preview.labels[0].image.blackCount(), 100);
  EXPECT_TRUE(hasNote(preview.labels[0].notes, 3, "/nonexistent/font.ttf"));
  EXPECT_TRUE(hasNote(preview.labels[0].notes, 34, "text not drawn"));
}

TEST(Previewer, InlineImagesDrawTheirBitsMostSignificantFirst) {
  Previewer previewer(optionsAt(8));
  const std::string bytes =
      "^W10\r^Q10,2\r^R0\r~Q+0\r~R105\r^L\rQ4,2,2,2\r\x80\x01\r\xC0"
      "E\r"s;
  const JobPreview preview = previewer.renderJob(bytes);
  ASSERT_EQ(preview.labels.size(), 1u) << allNotes(preview.notes);
  const Bitmap& image = preview.labels[0].image;
  EXPECT_TRUE(image.black(4, 2));
  EXPECT_TRUE(image.black(19, 2));
  EXPECT_FALSE(image.black(5, 2));
  // Second row: 0x0D (CR) then 0xC0.
  EXPECT_TRUE(image.black(8, 3) && image.black(9, 3) && image.black(11, 3));
  EXPECT_TRUE(image.black(12, 3) && image.black(13, 3));
  EXPECT_EQ(image.blackCount(), 2 + 5);
}

// A fresh folder of this test's own (a parallel run of the same test has
// another).
std::string temporaryFolder() {
  std::random_device random;
  const std::string folder =
      testing::TempDir() + "/images-" + std::to_string(random()) + std::to_string(random());
  std::filesystem::create_directories(folder);
  return folder;
}

TEST(Previewer, StoredImagesComeFromTheFolderOrAreANamedFrame) {
  const std::string folder = temporaryFolder();
  Bitmap logo(6, 4);
  logo.fillRect(0, 0, 5, 0);
  logo.fillRect(2, 1, 3, 3);
  ASSERT_TRUE(writePng(logo, 8, folder + "/LOGO.PNG").ok());
  Previewer previewer(optionsAt(8, folder));
  const JobPreview found = previewer.renderJob(job("", "Y10,20,LOGO"));
  ASSERT_EQ(found.labels.size(), 1u);
  const Bitmap& image = found.labels[0].image;
  EXPECT_EQ(image.blackCount(), logo.blackCount());
  EXPECT_TRUE(image.black(10, 20) && image.black(12, 23));
  EXPECT_TRUE(found.labels[0].notes.empty()) << allNotes(found.labels[0].notes);

  const JobPreview missing = previewer.renderJob(job("", "Y10,20,NOPE"));
  EXPECT_TRUE(hasNote(missing.labels[0].notes, 3, "frame with its name"));
  EXPECT_TRUE(missing.labels[0].image.black(10, 20));  // the frame's corner
  const JobPreview outside = previewer.renderJob(job("", "Y0,0,../LOGO"));
  EXPECT_TRUE(hasNote(outside.labels[0].notes, 3, "not a plain file name"));
  std::filesystem::remove_all(folder);
}

TEST(Previewer, ArbitraryBytesNeverCrashAndStayBounded) {
  Previewer previewer(optionsAt(8));
  std::mt19937 random(12345);
  const std::string alphabet = "^~LEAVBPRYQ0123456789,+-IMoe\r\n \x80\xFF";
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const int length = static_cast<int>(random() % 400);
    for (int i = 0; i < length; ++i) {
      bytes += random() % 4 == 0 ? static_cast<char>(random() % 256)
                                 : alphabet[random() % alphabet.size()];
    }
    const JobPreview preview = previewer.renderJob(bytes);
    for (const LabelPicture& label : preview.labels) {
      EXPECT_LE(static_cast<long long>(label.image.width()) * label.image.height(),
                64LL * 1024 * 1024);
    }
  }
}

// The scenario corpus: every job the component writes renders, with one
// picture per label format. With TAGWRIGHT_PREVIEW_OUT set, the pictures
// are written there to be looked at.
TEST(Previewer, ScenarioCorpusRenders) {
  struct Scenario {
    const char* name;
    std::size_t labels;
  };
  const char* out = std::getenv("TAGWRIGHT_PREVIEW_OUT");
  for (const int dotsPerMm : {8, 12}) {
    for (const Scenario& s :
         {Scenario{"price_tag", 1}, Scenario{"shipping_label", 1}, Scenario{"black_mark", 1},
          Scenario{"continuous_tape", 1}, Scenario{"batch_print_to_buff", 4}}) {
      std::ifstream file(std::string(TAGWRIGHT_SCENARIOS_DIR) + "/" + s.name + ".expected",
                         std::ios::binary);
      ASSERT_TRUE(file) << s.name;
      const std::string bytes((std::istreambuf_iterator<char>(file)), {});
      Previewer previewer(optionsAt(dotsPerMm));
      const JobPreview preview = previewer.renderJob(bytes);
      ASSERT_EQ(preview.labels.size(), s.labels) << s.name;
      for (std::size_t i = 0; i < preview.labels.size(); ++i) {
        const LabelPicture& label = preview.labels[i];
        EXPECT_TRUE(label.error.empty()) << label.error;
        EXPECT_GT(label.image.blackCount(), 0) << s.name;
        if (out == nullptr) continue;
        const std::string path = std::string(out) + "/" + s.name + "-" + std::to_string(dotsPerMm) +
                                 "-" + std::to_string(i + 1) + ".png";
        EXPECT_TRUE(writePng(label.image, dotsPerMm, path).ok());
        std::ofstream notes(path + ".notes");
        notes << allNotes(preview.notes) << "-- label\n" << allNotes(label.notes);
      }
    }
  }
}

}  // namespace
}  // namespace tagwright::preview
