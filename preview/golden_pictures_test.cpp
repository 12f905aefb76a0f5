// The scenario corpus's pictures against the golden ones in preview/golden/,
// with a small tolerance for a font rasteriser's version. After a deliberate
// change, regenerate them with
//   TAGWRIGHT_UPDATE_GOLDEN=1 build/debug/preview/preview_tests --gtest_filter='GoldenPictures*'
// and look at the new pictures before committing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "preview/png/png_file.h"
#include "preview/preview.h"

namespace tagwright::preview {
namespace {

// At most this share of a label's dots may differ from its golden picture.
constexpr double kToleratedShare = 0.002;

std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

long long differingDots(const Bitmap& a, const Bitmap& b) {
  long long count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) count += a.black(x, y) != b.black(x, y) ? 1 : 0;
  }
  return count;
}

class GoldenPictures : public testing::TestWithParam<std::tuple<const char*, int>> {};

TEST_P(GoldenPictures, ScenarioLabelsMatchTheirGoldenPictures) {
  const auto [scenario, dotsPerMm] = GetParam();
  const std::string bytes =
      readFile(std::string(TAGWRIGHT_SCENARIOS_DIR) + "/" + scenario + ".expected");
  ASSERT_FALSE(bytes.empty()) << scenario;
  PreviewOptions options;
  options.dotsPerMm = dotsPerMm;
  Previewer previewer(options);
  const JobPreview preview = previewer.renderJob(bytes);
  ASSERT_FALSE(preview.labels.empty());
  const bool update = std::getenv("TAGWRIGHT_UPDATE_GOLDEN") != nullptr;
  for (std::size_t i = 0; i < preview.labels.size(); ++i) {
    const Bitmap& image = preview.labels[i].image;
    const std::string golden = std::string(TAGWRIGHT_GOLDEN_DIR) + "/" + scenario + "-" +
                               std::to_string(dotsPerMm) + "-" + std::to_string(i + 1) + ".png";
    if (update) {
      ASSERT_EQ(writePng(image, dotsPerMm, golden), std::nullopt);
      continue;
    }
    const PngPicture expected = readPngThresholded(golden, 64LL * 1024 * 1024);
    ASSERT_TRUE(expected.error.empty())
        << expected.error << " (TAGWRIGHT_UPDATE_GOLDEN=1 makes it)";
    ASSERT_EQ(image.width(), expected.image.width()) << golden;
    ASSERT_EQ(image.height(), expected.image.height()) << golden;
    const long long differing = differingDots(image, expected.image);
    const double allowed =
        kToleratedShare * static_cast<double>(image.width()) * static_cast<double>(image.height());
    EXPECT_LE(static_cast<double>(differing), allowed)
        << golden << ": " << differing << " dots differ";
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, GoldenPictures,
                         testing::Combine(testing::Values("price_tag", "shipping_label",
                                                          "black_mark", "continuous_tape",
                                                          "batch_print_to_buff"),
                                          testing::Values(8, 12)));

}  // namespace
}  // namespace tagwright::preview
