#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "preview/png/png_file.h"
#include "preview/preview.h"
#include "preview/util/utf8_path.h"

namespace tagwright::preview {
namespace {

// Where two pictures of the same size first differ, and how many pixels do.
std::string differences(const Bitmap& expected, const Bitmap& actual) {
  long long differing = 0;
  std::string first;
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      if (expected.black(x, y) == actual.black(x, y)) continue;
      if (differing++ == 0)
        first = " (first at " + std::to_string(x) + "," + std::to_string(y) + ")";
    }
  }
  return std::to_string(differing) + " pixels differ" + first;
}

// The jobs of the scenario corpus draw, with the default options (8 dots per
// mm, CP1251 and CP866, the default font), exactly the golden pictures that
// tests/preview/golden_pictures.sh keeps: pixel for pixel, on Linux and on
// both Windows widths, so that the Windows preview draws what the Linux
// one does (same FreeType, zint, font and code pages).
TEST(GoldenPictures, ScenarioJobsDrawTheGoldenPicturesPixelForPixel) {
  const std::filesystem::path golden = TAGWRIGHT_GOLDEN_DIR;
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TAGWRIGHT_SCENARIOS_DIR)) {
    if (entry.path().extension() != ".expected") continue;
    const std::string name = utf8FromPath(entry.path().stem());
    std::ifstream file(entry.path(), std::ios::binary);
    ASSERT_TRUE(file) << entry.path();
    const std::string job((std::istreambuf_iterator<char>(file)), {});
    Previewer previewer(PreviewOptions{});
    const JobPreview preview = previewer.renderJob(job);
    ASSERT_FALSE(preview.labels.empty()) << name;
    for (std::size_t i = 0; i < preview.labels.size(); ++i) {
      const std::string picture = name + "-" + std::to_string(i + 1) + ".png";
      const PngPicture expected = readPngThresholded(utf8FromPath(golden / picture), 64LL << 20);
      ASSERT_TRUE(expected.error.empty()) << picture << ": " << expected.error;
      const Bitmap& actual = preview.labels[i].image;
      ASSERT_EQ(actual.width(), expected.image.width()) << picture;
      ASSERT_EQ(actual.height(), expected.image.height()) << picture;
      EXPECT_EQ(differences(expected.image, actual), "0 pixels differ") << picture;
      ++compared;
    }
    // No golden picture of a label the job no longer has.
    const std::string next = name + "-" + std::to_string(preview.labels.size() + 1) + ".png";
    EXPECT_FALSE(std::filesystem::exists(golden / next)) << next;
  }
  EXPECT_GE(compared, 8);
}

}  // namespace
}  // namespace tagwright::preview
