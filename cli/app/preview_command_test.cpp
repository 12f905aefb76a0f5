#include "cli/app/preview_command.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "cli/app/exit_codes.h"
#include "support/linked_program_fixture.h"

namespace tagwright::cli {
namespace {

struct PngSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// The size a PNG file declares in its header, or 0 x 0 when it is no PNG.
PngSize pngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {};
  auto word = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {word(16), word(20)};
}

// Two labels of 58 x 40 mm: the second printed three times.
const std::string kTwoLabelJob =
    "^Q40,3\r^W58\r^L\rAC,20,20,1,1,1,0,ONE\rE\r^C3\r^L\rR10,10,100,100,2,2\rE\r";

class PreviewCommand : public LinkedProgramTest {};

TEST_F(PreviewCommand, AScriptIsDrawnSendsNothingAndLeavesTheStoredSettingsAlone) {
  put("first.tws",
      "LabelWidth = 58\nLabelHeight = 40\nStartLabel()\n"
      "PutText(20, 20, 1, 1, 1, 0, \"C\", \"Hello\")\nPrint(2)\n");
  put("profile", "[Printer Tagwright]\nLabelWidth = 43\n");
  const std::string before = content("profile");
  ASSERT_EQ(
      run({"preview", "--profile", path("profile"), "--output", path("pics"), path("first.tws")}),
      kExitOk)
      << err_.str();
  EXPECT_EQ(pngSize(content("pics/first-1.png")).width, 58u * 8);
  EXPECT_EQ(pngSize(content("pics/first-1.png")).height, 40u * 8);
  EXPECT_NE(out_.str().find(path("pics/first-1.png") + "  464 x 320 dots, 58 x 40 mm, 2 copies"),
            std::string::npos)
      << out_.str();
  EXPECT_EQ(content("profile"), before);
  EXPECT_EQ(dir_.entries(), 3u);  // the script, the profile and the pictures' folder
}

TEST_F(PreviewCommand, AJobFileGivesOnePictureALabelAtEitherResolution) {
  put("job.prn", kTwoLabelJob);
  struct Case {
    const char* dpi;
    std::uint32_t width;
    std::uint32_t height;
  };
  for (const Case& c : {Case{"203", 464, 320}, Case{"300", 696, 480}}) {
    const std::string folder = path(std::string("out") + c.dpi);
    ASSERT_EQ(run({"preview", "--dpi", c.dpi, "--output", folder, path("job.prn")}), kExitOk)
        << err_.str();
    for (const char* name : {"/job-1.png", "/job-2.png"}) {
      const PngSize size = pngSize(test_support::contentOf(folder + name));
      EXPECT_EQ(size.width, c.width) << c.dpi << name;
      EXPECT_EQ(size.height, c.height) << c.dpi << name;
    }
    EXPECT_NE(out_.str().find("job-2.png  " + std::to_string(c.width) + " x " +
                              std::to_string(c.height) + " dots, 58 x 40 mm, 3 copies"),
              std::string::npos)
        << out_.str();
    EXPECT_FALSE(fs::exists(folder + "/job-3.png"));
  }
}

TEST_F(PreviewCommand, OnePngFileTakesExactlyOneLabel) {
  put("one.prn", "^Q40,3\r^W58\r^L\rLo,1,1,50,50\rE\r");
  put("two.prn", kTwoLabelJob);
  EXPECT_EQ(run({"preview", "--output", path("one.png"), path("one.prn")}), kExitOk) << err_.str();
  EXPECT_EQ(pngSize(content("one.png")).width, 464u);

  EXPECT_EQ(run({"preview", "--output", path("two.png"), path("two.prn")}), kExitJobsDropped);
  EXPECT_NE(err_.str().find("has 2 labels: give a folder instead"), std::string::npos)
      << err_.str();
  EXPECT_FALSE(fs::exists(path("two.png")));
}

TEST_F(PreviewCommand, ALabelTooBigForAPrinterIsRefusedAndTheOthersAreDrawn) {
  put("big.prn", "^Q2000,3\r^W58\r^L\rE\r^Q40,3\r^L\rE\r");
  EXPECT_EQ(run({"preview", "--output", path("pics"), path("big.prn")}), kExitJobsDropped);
  EXPECT_NE(err_.str().find("big, label 1"), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find("2000"), std::string::npos) << err_.str();
  EXPECT_FALSE(fs::exists(path("pics/big-1.png")));
  EXPECT_EQ(pngSize(content("pics/big-2.png")).height, 320u);
}

TEST_F(PreviewCommand, RunWithPreviewSendsTheJobsAndDrawsThem) {
  put("a.tws",
      "LabelWidth = 58\nLabelHeight = 40\nStartLabel()\nPrint(1)\nStartLabel()\nPrint(1)\n");
  ASSERT_EQ(run({"run", "--profile", path("profile"), "--output", path("out.prn"), "--preview",
                 path("pics"), path("a.tws")}),
            kExitOk)
      << err_.str();
  EXPECT_NE(content("out.prn").find("^W58\r"), std::string::npos);
  EXPECT_EQ(pngSize(content("pics/a-1.png")).width, 464u);
  EXPECT_EQ(pngSize(content("pics/a-2.png")).width, 464u);
  EXPECT_TRUE(fs::exists(path("profile")));  // a run keeps its settings
}

TEST_F(PreviewCommand, BadInputsAreReportedAndTheRestIsDrawn) {
  put("ok.prn", kTwoLabelJob);
  EXPECT_EQ(run({"preview", "--output", path("pics"), path("missing.prn"), path("ok.prn")}),
            kExitUsage);
  EXPECT_NE(err_.str().find("missing.prn: no such file"), std::string::npos) << err_.str();
  EXPECT_TRUE(fs::exists(path("pics/ok-2.png")));

  put("blocker", "a file where the folder should be");
  EXPECT_EQ(run({"preview", "--output", path("blocker/pics"), path("ok.prn")}), kExitUsage);
  EXPECT_NE(err_.str().find("cannot make the folder"), std::string::npos) << err_.str();
}

TEST(InputStem, NamesPicturesAfterTheFileWithoutFolderAndExtension) {
  EXPECT_EQ(inputStem("/tmp/labels/price.tws"), "price");
  EXPECT_EQ(inputStem("job.2024.prn"), "job.2024");
  EXPECT_EQ(inputStem(".hidden"), ".hidden");
  EXPECT_EQ(inputStem("-"), "stdin");
  EXPECT_EQ(inputStem("dir/"), "label");
}

}  // namespace
}  // namespace tagwright::cli
