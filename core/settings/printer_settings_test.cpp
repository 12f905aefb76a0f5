#include "core/settings/printer_settings.h"

#include <gtest/gtest.h>

namespace tagwright {
namespace {

TEST(PrinterSettings, GroupsCarryFieldsRawInParameterOrder) {
  PrinterSettings settings;
  setPrinterGroup(settings, {12, 5, 30, 1, 7, 1});  // no range check, no side effect
  setLabelGroup(settings, {100, 9995, 0, -4, -50, 41, 1});
  setMediaGroup(settings, {11, 5, 1, 7, 20, 30, -40});
  EXPECT_EQ(settings.PrinterPort, 12);
  EXPECT_EQ(settings.PrinterSpeed, 5);
  EXPECT_EQ(settings.PrinterDarkness, 30);
  EXPECT_EQ(settings.PrinterStriper, 1);
  EXPECT_EQ(settings.PrinterCutter, 7);
  EXPECT_EQ(settings.MetodTransfer, 1);
  EXPECT_EQ(settings.LabelSize, 100);
  EXPECT_EQ(settings.LabelWidth, 9995);
  EXPECT_EQ(settings.LabelGap, 0);
  EXPECT_EQ(settings.LeftMargin, -4);
  EXPECT_EQ(settings.TopMargin, -50);
  EXPECT_EQ(settings.StopPosition, 41);
  EXPECT_EQ(settings.LabelRotate, 1);
  EXPECT_EQ(settings.BarcodeWidth, 11);
  EXPECT_EQ(settings.BarcodeNarrow, 5);
  EXPECT_EQ(settings.BarcodeReadable, 1);
  EXPECT_EQ(settings.LabelType, 7);
  EXPECT_EQ(settings.FeedLenght, 20);
  EXPECT_EQ(settings.BlackMarkLenght, 30);
  EXPECT_EQ(settings.BlackMarkPosition, -40);
  EXPECT_EQ(getPrinterGroup(settings), (PrinterGroup{12, 5, 30, 1, 7, 1}));
  EXPECT_EQ(getLabelGroup(settings), (LabelGroup{100, 9995, 0, -4, -50, 41, 1}));
  EXPECT_EQ(getMediaGroup(settings), (MediaGroup{11, 5, 1, 7, 20, 30, -40}));
}

}  // namespace
}  // namespace tagwright
