#include "core/addin/property_values.h"

namespace tagwright {
namespace {

// The stored value, or the fallback when it lies outside [low, high].
std::int32_t inRangeOr(std::int64_t value, std::int32_t low, std::int32_t high,
                       std::int32_t fallback) {
  return value < low || value > high ? fallback : static_cast<std::int32_t>(value);
}

std::int32_t flag(std::int32_t value) { return value != 0 ? 1 : 0; }

}  // namespace

std::int32_t readProperty(const PrinterSettings& s, Property property) {
  switch (property) {
    case Property::IsEnabled: return 1;
    case Property::NumberPort: return s.PrinterPort;
    case Property::Speed: return s.PrinterSpeed + 2;
    case Property::Darkness: return s.PrinterDarkness;
    case Property::Stripper: return s.PrinterStriper;
    case Property::Cutter: return s.PrinterCutter;
    case Property::LabelHeight: return s.LabelSize;
    case Property::LabelWidth: return s.LabelWidth;
    case Property::LabelLeftMargin: return s.LeftMargin;
    case Property::LabelTopMargin: return s.TopMargin;
    case Property::StopPosition: return s.StopPosition;
    case Property::BarcodeWidth: return s.BarcodeWidth + 1;
    case Property::BarcodeReadable: return s.BarcodeReadable;
    case Property::BarcodeNarrow: return s.BarcodeNarrow;
    case Property::LabelType: return s.LabelType;
    case Property::GapLenght: return s.LabelGap;
    case Property::FeedLenght: return s.FeedLenght;
    case Property::BlackMarkLenght: return s.BlackMarkLenght;
    case Property::BlackMarkPosition: return s.BlackMarkPosition;
    case Property::LabelRotate: return s.LabelRotate;
    case Property::Termotransfer: return s.MetodTransfer;
  }
  return 0;
}

void writeProperty(PrinterSettings& s, Property property, std::int32_t value) {
  // The offsets are taken in 64 bits so that INT32_MIN cannot overflow.
  const std::int64_t v = value;
  switch (property) {
    case Property::IsEnabled: break;
    case Property::NumberPort: s.PrinterPort = inRangeOr(v, 0, 12, 0); break;
    case Property::Speed: s.PrinterSpeed = inRangeOr(v - 2, 0, 5, 0); break;
    case Property::Darkness: s.PrinterDarkness = inRangeOr(v, 0, 20, 5); break;
    case Property::Stripper:
      s.PrinterStriper = flag(value);
      if (s.PrinterStriper != 0) s.PrinterCutter = 0;
      break;
    case Property::Cutter:
      s.PrinterCutter = inRangeOr(v, 0, 9999, 0);
      if (s.PrinterCutter != 0) s.PrinterStriper = 0;
      break;
    case Property::LabelHeight: s.LabelSize = inRangeOr(v, 0, 9999, 25); break;
    case Property::LabelWidth: s.LabelWidth = inRangeOr(v, 0, 9994, 43); break;
    case Property::LabelLeftMargin: s.LeftMargin = inRangeOr(v, 0, 9999, 0); break;
    case Property::LabelTopMargin: s.TopMargin = inRangeOr(v, -36, 36, 0); break;
    case Property::StopPosition: s.StopPosition = inRangeOr(v, 0, 9999, 0); break;
    case Property::BarcodeWidth: s.BarcodeWidth = inRangeOr(v - 1, 0, 9, 1); break;
    case Property::BarcodeReadable: s.BarcodeReadable = flag(value); break;
    case Property::BarcodeNarrow: s.BarcodeNarrow = inRangeOr(v, 0, 2, 0); break;
    case Property::LabelType: s.LabelType = inRangeOr(v, 0, 2, 0); break;
    case Property::GapLenght: s.LabelGap = inRangeOr(v, 1, 255, 3); break;
    case Property::FeedLenght: s.FeedLenght = inRangeOr(v, 0, 9999, 10); break;
    case Property::BlackMarkLenght: s.BlackMarkLenght = inRangeOr(v, 0, 9999, 0); break;
    case Property::BlackMarkPosition: s.BlackMarkPosition = inRangeOr(v, 0, 9999, 0); break;
    case Property::LabelRotate: s.LabelRotate = flag(value); break;
    case Property::Termotransfer: s.MetodTransfer = flag(value); break;
  }
}

}  // namespace tagwright
