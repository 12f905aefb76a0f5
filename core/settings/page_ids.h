#pragma once

namespace tagwright::page_id {

// The controls of the printer settings page, by their dialog ids. The
// Windows dialog template uses the same numbers.

// Lists.
inline constexpr int kPortList = 204;
inline constexpr int kSpeedList = 217;
inline constexpr int kDarknessList = 208;
inline constexpr int kBarcodeWidthList = 215;

// Check boxes.
inline constexpr int kStripperBox = 216;
inline constexpr int kCutterBox = 221;
inline constexpr int kRotateBox = 244;
inline constexpr int kReadableBox = 203;

// Radio buttons, by group.
inline constexpr int kDirectThermalRadio = 248;
inline constexpr int kThermalTransferRadio = 249;
inline constexpr int kGapLabelsRadio = 228;
inline constexpr int kContinuousTapeRadio = 229;
inline constexpr int kBlackMarkRadio = 230;
inline constexpr int kRatio2To1Radio = 212;
inline constexpr int kRatio3To1Radio = 213;
inline constexpr int kRatio5To2Radio = 214;

// Number edits and the spin box attached to each.
inline constexpr int kCutterCountEdit = 223;
inline constexpr int kCutterCountSpin = 245;
inline constexpr int kLabelHeightEdit = 209;
inline constexpr int kLabelHeightSpin = 237;
inline constexpr int kLabelWidthEdit = 218;
inline constexpr int kLabelWidthSpin = 238;
inline constexpr int kLeftOffsetEdit = 210;
inline constexpr int kLeftOffsetSpin = 239;
inline constexpr int kTopOffsetEdit = 211;
inline constexpr int kTopOffsetSpin = 240;
inline constexpr int kStopPositionEdit = 222;
inline constexpr int kStopPositionSpin = 243;
inline constexpr int kMediaLengthEdit = 205;  // gap, feed or black mark length by media
inline constexpr int kMediaLengthSpin = 241;
inline constexpr int kBlackMarkOffsetEdit = 206;
inline constexpr int kBlackMarkOffsetSpin = 242;

// Static texts the page changes.
inline constexpr int kMediaLengthCaption = 232;
inline constexpr int kBlackMarkOffsetCaption = 231;
inline constexpr int kBlackMarkOffsetUnit = 233;

// Push buttons.
inline constexpr int kWebPageButton = 219;
inline constexpr int kSupportMailButton = 220;

}  // namespace tagwright::page_id
