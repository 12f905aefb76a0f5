#include "core/addin/property_values.h"

#include <gtest/gtest.h>

#include <climits>

namespace tagwright {
namespace {

struct WriteCase {
  Property property;
  std::int32_t written;
  std::int32_t readBack;
};

class PropertyValues : public ::testing::TestWithParam<WriteCase> {};

TEST_P(PropertyValues, StoresClampedOrFallbackValue) {
  PrinterSettings settings;
  writeProperty(settings, GetParam().property, GetParam().written);
  EXPECT_EQ(readProperty(settings, GetParam().property), GetParam().readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, PropertyValues,
    ::testing::Values(
        WriteCase{Property::IsEnabled, 0, 1}, WriteCase{Property::IsEnabled, 77, 1},
        WriteCase{Property::NumberPort, 12, 12}, WriteCase{Property::NumberPort, 13, 0},
        WriteCase{Property::NumberPort, -1, 0}, WriteCase{Property::Speed, 7, 7},
        WriteCase{Property::Speed, 2, 2}, WriteCase{Property::Speed, 8, 2},
        WriteCase{Property::Speed, 1, 2}, WriteCase{Property::Speed, INT_MIN, 2},
        WriteCase{Property::Darkness, 20, 20}, WriteCase{Property::Darkness, 21, 5},
        WriteCase{Property::Darkness, -1, 5}, WriteCase{Property::Stripper, 5, 1},
        WriteCase{Property::Stripper, -3, 1}, WriteCase{Property::Stripper, 0, 0},
        WriteCase{Property::Cutter, 9999, 9999}, WriteCase{Property::Cutter, 10000, 0},
        WriteCase{Property::LabelHeight, 9999, 9999}, WriteCase{Property::LabelHeight, 10000, 25},
        WriteCase{Property::LabelHeight, -1, 25}, WriteCase{Property::LabelWidth, 9994, 9994},
        WriteCase{Property::LabelWidth, 9995, 43}, WriteCase{Property::LabelLeftMargin, 9999, 9999},
        WriteCase{Property::LabelLeftMargin, 10000, 0},
        WriteCase{Property::LabelTopMargin, -36, -36}, WriteCase{Property::LabelTopMargin, 36, 36},
        WriteCase{Property::LabelTopMargin, -37, 0}, WriteCase{Property::LabelTopMargin, 37, 0},
        WriteCase{Property::StopPosition, 9999, 9999}, WriteCase{Property::StopPosition, -1, 0},
        WriteCase{Property::BarcodeWidth, 10, 10}, WriteCase{Property::BarcodeWidth, 1, 1},
        WriteCase{Property::BarcodeWidth, 0, 2}, WriteCase{Property::BarcodeWidth, 11, 2},
        WriteCase{Property::BarcodeWidth, INT_MIN, 2}, WriteCase{Property::BarcodeReadable, 9, 1},
        WriteCase{Property::BarcodeReadable, 0, 0}, WriteCase{Property::BarcodeNarrow, 2, 2},
        WriteCase{Property::BarcodeNarrow, 3, 0}, WriteCase{Property::LabelType, 2, 2},
        WriteCase{Property::LabelType, 3, 0}, WriteCase{Property::GapLenght, 0, 3},
        WriteCase{Property::GapLenght, 1, 1}, WriteCase{Property::GapLenght, 255, 255},
        WriteCase{Property::GapLenght, 256, 3}, WriteCase{Property::FeedLenght, 0, 0},
        WriteCase{Property::FeedLenght, 10000, 10},
        WriteCase{Property::BlackMarkLenght, 9999, 9999},
        WriteCase{Property::BlackMarkLenght, -5, 0},
        WriteCase{Property::BlackMarkPosition, 10000, 0},
        WriteCase{Property::BlackMarkPosition, -2, 0}, WriteCase{Property::LabelRotate, -1, 1},
        WriteCase{Property::Termotransfer, 2, 1}, WriteCase{Property::Termotransfer, 0, 0}));

TEST(PropertyValues, FallbackReplacesTheWholeWriteNotTheOldValue) {
  PrinterSettings settings;
  writeProperty(settings, Property::Darkness, 12);
  writeProperty(settings, Property::Darkness, 99);
  EXPECT_EQ(settings.PrinterDarkness, 5);
}

TEST(PropertyValues, SpeedAndBarcodeWidthAreHeldAsIndexes) {
  PrinterSettings settings;
  writeProperty(settings, Property::Speed, 7);
  writeProperty(settings, Property::BarcodeWidth, 10);
  EXPECT_EQ(settings.PrinterSpeed, 5);
  EXPECT_EQ(settings.BarcodeWidth, 9);
}

TEST(PropertyValues, StripperAndCutterExcludeEachOther) {
  PrinterSettings settings;
  writeProperty(settings, Property::Stripper, 1);
  writeProperty(settings, Property::Cutter, 3);
  EXPECT_EQ(settings.PrinterStriper, 0);
  EXPECT_EQ(settings.PrinterCutter, 3);

  writeProperty(settings, Property::Stripper, 1);
  EXPECT_EQ(settings.PrinterStriper, 1);
  EXPECT_EQ(settings.PrinterCutter, 0);

  // An out-of-range cutter stores 0 and so leaves the stripper alone.
  writeProperty(settings, Property::Cutter, 10000);
  EXPECT_EQ(settings.PrinterCutter, 0);
  EXPECT_EQ(settings.PrinterStriper, 1);

  // Turning the stripper off does not touch the cutter.
  writeProperty(settings, Property::Cutter, 4);
  writeProperty(settings, Property::Stripper, 0);
  EXPECT_EQ(settings.PrinterCutter, 4);
}

}  // namespace
}  // namespace tagwright
