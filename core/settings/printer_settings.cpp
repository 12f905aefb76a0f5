#include "core/settings/printer_settings.h"

namespace tagwright {

PrinterGroup getPrinterGroup(const PrinterSettings& s) {
  return {s.PrinterPort, s.PrinterSpeed, s.PrinterDarkness, s.PrinterStriper, s.PrinterCutter,
          s.MetodTransfer};
}

LabelGroup getLabelGroup(const PrinterSettings& s) {
  return {s.LabelSize, s.LabelWidth, s.LabelGap, s.LeftMargin, s.TopMargin, s.StopPosition,
          s.LabelRotate};
}

MediaGroup getMediaGroup(const PrinterSettings& s) {
  return {s.BarcodeWidth, s.BarcodeNarrow, s.BarcodeReadable, s.LabelType, s.FeedLenght,
          s.BlackMarkLenght, s.BlackMarkPosition};
}

void setPrinterGroup(PrinterSettings& s, const PrinterGroup& g) {
  s.PrinterPort = g.PrinterPort;
  s.PrinterSpeed = g.PrinterSpeed;
  s.PrinterDarkness = g.PrinterDarkness;
  s.PrinterStriper = g.PrinterStriper;
  s.PrinterCutter = g.PrinterCutter;
  s.MetodTransfer = g.MetodTransfer;
}

void setLabelGroup(PrinterSettings& s, const LabelGroup& g) {
  s.LabelSize = g.LabelSize;
  s.LabelWidth = g.LabelWidth;
  s.LabelGap = g.LabelGap;
  s.LeftMargin = g.LeftMargin;
  s.TopMargin = g.TopMargin;
  s.StopPosition = g.StopPosition;
  s.LabelRotate = g.LabelRotate;
}

void setMediaGroup(PrinterSettings& s, const MediaGroup& g) {
  s.BarcodeWidth = g.BarcodeWidth;
  s.BarcodeNarrow = g.BarcodeNarrow;
  s.BarcodeReadable = g.BarcodeReadable;
  s.LabelType = g.LabelType;
  s.FeedLenght = g.FeedLenght;
  s.BlackMarkLenght = g.BlackMarkLenght;
  s.BlackMarkPosition = g.BlackMarkPosition;
}

}  // namespace tagwright
