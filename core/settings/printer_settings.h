#pragma once

#include <cstdint>

namespace tagwright {

// The printer and label settings of one add-in object. Each field bears the
// name of its persisted key. Units: millimetres for sizes, gap, feed, black
// mark values and stop position; printer dots for the two margins. Speed and
// barcode width are held as list indexes (speed - 2, width - 1).
struct PrinterSettings {
  std::int32_t PrinterPort = 0;        // 0..2 LPT1..3, 3..11 COM1..9, 12 USB
  std::int32_t PrinterSpeed = 0;       // printed speed is index + 2
  std::int32_t PrinterDarkness = 5;
  std::int32_t PrinterStriper = 0;
  std::int32_t PrinterCutter = 0;      // 0 no cutting, N: cut every N labels
  std::int32_t LabelSize = 25;         // label height
  std::int32_t LabelWidth = 43;
  std::int32_t LeftMargin = 0;
  std::int32_t TopMargin = 0;          // signed
  std::int32_t StopPosition = 0;
  std::int32_t BarcodeWidth = 1;       // narrow bar in dots is index + 1
  std::int32_t BarcodeReadable = 1;
  std::int32_t BarcodeNarrow = 0;      // 0 "2 / 1", 1 "3 / 1", 2 "5 / 2"
  std::int32_t LabelType = 0;          // 0 gaps, 1 continuous tape, 2 black mark
  std::int32_t LabelGap = 3;
  std::int32_t FeedLenght = 10;
  std::int32_t BlackMarkLenght = 0;
  std::int32_t BlackMarkPosition = 0;
  std::int32_t LabelRotate = 0;
  std::int32_t MetodTransfer = 0;      // 0 direct thermal, 1 thermal transfer

  bool operator==(const PrinterSettings&) const = default;
};

// The three groups in which the settings page exchanges the record, raw
// (indexes as stored, no range check, no side effects), in parameter order.
struct PrinterGroup {
  std::int32_t PrinterPort, PrinterSpeed, PrinterDarkness, PrinterStriper, PrinterCutter,
      MetodTransfer;
  bool operator==(const PrinterGroup&) const = default;
};
struct LabelGroup {
  std::int32_t LabelSize, LabelWidth, LabelGap, LeftMargin, TopMargin, StopPosition, LabelRotate;
  bool operator==(const LabelGroup&) const = default;
};
struct MediaGroup {
  std::int32_t BarcodeWidth, BarcodeNarrow, BarcodeReadable, LabelType, FeedLenght,
      BlackMarkLenght, BlackMarkPosition;
  bool operator==(const MediaGroup&) const = default;
};

PrinterGroup getPrinterGroup(const PrinterSettings& s);
LabelGroup getLabelGroup(const PrinterSettings& s);
MediaGroup getMediaGroup(const PrinterSettings& s);
void setPrinterGroup(PrinterSettings& s, const PrinterGroup& g);
void setLabelGroup(PrinterSettings& s, const LabelGroup& g);
void setMediaGroup(PrinterSettings& s, const MediaGroup& g);

// Access to the record through an IPropertyLink-shaped interface: the edited
// object implements it, and the settings page talks to it only this way.
class PropertyLink {
 public:
  virtual ~PropertyLink() = default;
  virtual PrinterGroup getPrinterGroup() = 0;
  virtual void setPrinterGroup(const PrinterGroup&) = 0;
  virtual LabelGroup getLabelGroup() = 0;
  virtual void setLabelGroup(const LabelGroup&) = 0;
  virtual MediaGroup getMediaGroup() = 0;
  virtual void setMediaGroup(const MediaGroup&) = 0;
};

}  // namespace tagwright
