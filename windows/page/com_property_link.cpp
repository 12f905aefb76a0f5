#include "windows/page/com_property_link.h"

namespace tagwright::com {

PrinterGroup ComPropertyLink::getPrinterGroup() {
  const PrinterGroup now = tagwright::getPrinterGroup(current_);
  LONG port = now.PrinterPort, speed = now.PrinterSpeed, darkness = now.PrinterDarkness,
       striper = now.PrinterStriper, cutter = now.PrinterCutter, transfer = now.MetodTransfer;
  if (FAILED(link_.GetPrinterGroup(&port, &speed, &darkness, &striper, &cutter, &transfer))) {
    return now;
  }
  return {port, speed, darkness, striper, cutter, transfer};
}

void ComPropertyLink::setPrinterGroup(const PrinterGroup& g) {
  link_.SetPrinterGroup(g.PrinterPort, g.PrinterSpeed, g.PrinterDarkness, g.PrinterStriper,
                        g.PrinterCutter, g.MetodTransfer);
}

LabelGroup ComPropertyLink::getLabelGroup() {
  const LabelGroup now = tagwright::getLabelGroup(current_);
  LONG size = now.LabelSize, width = now.LabelWidth, gap = now.LabelGap, left = now.LeftMargin,
       top = now.TopMargin, stop = now.StopPosition, rotate = now.LabelRotate;
  if (FAILED(link_.GetLabelGroup(&size, &width, &gap, &left, &top, &stop, &rotate))) return now;
  return {size, width, gap, left, top, stop, rotate};
}

void ComPropertyLink::setLabelGroup(const LabelGroup& g) {
  link_.SetLabelGroup(g.LabelSize, g.LabelWidth, g.LabelGap, g.LeftMargin, g.TopMargin,
                      g.StopPosition, g.LabelRotate);
}

MediaGroup ComPropertyLink::getMediaGroup() {
  const MediaGroup now = tagwright::getMediaGroup(current_);
  LONG width = now.BarcodeWidth, narrow = now.BarcodeNarrow, readable = now.BarcodeReadable,
       type = now.LabelType, feed = now.FeedLenght, markLength = now.BlackMarkLenght,
       markPosition = now.BlackMarkPosition;
  if (FAILED(link_.GetMediaGroup(&width, &narrow, &readable, &type, &feed, &markLength,
                                 &markPosition))) {
    return now;
  }
  return {width, narrow, readable, type, feed, markLength, markPosition};
}

void ComPropertyLink::setMediaGroup(const MediaGroup& g) {
  link_.SetMediaGroup(g.BarcodeWidth, g.BarcodeNarrow, g.BarcodeReadable, g.LabelType,
                      g.FeedLenght, g.BlackMarkLenght, g.BlackMarkPosition);
}

}  // namespace tagwright::com
