#include "preview/png/png_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <random>
#include <string>

#include "preview/preview.h"

namespace tagwright::preview {
namespace {

// A name of this run's own in the temporary folder.
std::string temporaryPath(const std::string& name) {
  static const std::string run = std::to_string(std::random_device()());
  return testing::TempDir() + "/" + run + "-" + name;
}

TEST(PngFile, WritesOneBitGreyAtTheLabelSizeWithItsResolution) {
  for (const int dotsPerMm : {8, 12}) {
    Bitmap picture(21, 7);  // a width that is not a whole number of bytes
    picture.fillRect(0, 0, 20, 0);
    picture.fillRect(3, 2, 9, 5);
    picture.paint(20, 6);
    const std::string path = temporaryPath("label-" + std::to_string(dotsPerMm) + ".png");
    ASSERT_TRUE(writePng(picture, dotsPerMm, path).ok());

    const PngHeader header = readPngHeader(path);
    ASSERT_TRUE(header.error.empty()) << header.error;
    EXPECT_EQ(header.width, 21);
    EXPECT_EQ(header.height, 7);
    EXPECT_EQ(header.bitDepth, 1);
    EXPECT_EQ(header.colorType, PNG_COLOR_TYPE_GRAY);
    EXPECT_TRUE(header.hasPhysicalSize);
    EXPECT_TRUE(header.unitIsMetre);
    EXPECT_EQ(header.pixelsPerUnitX, static_cast<unsigned>(dotsPerMm) * 1000);
    EXPECT_EQ(header.pixelsPerUnitY, static_cast<unsigned>(dotsPerMm) * 1000);

    // Black stays black: the pixels read back are the pixels written.
    const PngPicture back = readPngThresholded(path, 1000);
    ASSERT_TRUE(back.error.empty()) << back.error;
    ASSERT_EQ(back.image.width(), 21);
    for (int y = 0; y < 7; ++y) {
      for (int x = 0; x < 21; ++x) EXPECT_EQ(back.image.black(x, y), picture.black(x, y));
    }
    std::remove(path.c_str());
  }
}

TEST(PngFile, FailuresAreMessages) {
  EXPECT_FALSE(writePng(Bitmap(3, 3), 8, "/nonexistent-folder/x.png").ok());
  EXPECT_FALSE(writePng(Bitmap(), 8, temporaryPath("empty.png")).ok());
  const std::string notPng = temporaryPath("not.png");
  std::FILE* file = std::fopen(notPng.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("this is text", file);
  std::fclose(file);
  EXPECT_FALSE(readPngThresholded(notPng, 1000).error.empty());
  EXPECT_FALSE(readPngHeader(notPng).error.empty());
  std::remove(notPng.c_str());
}

TEST(PngFile, PicturesLargerThanAllowedAreRefusedBeforeReading) {
  Bitmap picture(50, 40);
  const std::string path = temporaryPath("big.png");
  ASSERT_TRUE(writePng(picture, 8, path).ok());
  const PngPicture refused = readPngThresholded(path, 1999);
  EXPECT_TRUE(refused.image.empty());
  EXPECT_NE(refused.error.find("50 x 40"), std::string::npos) << refused.error;
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tagwright::preview
