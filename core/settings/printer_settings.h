#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/settings/setting_row.h"

namespace tagwright {

// The printer and label settings of one add-in object. Each field bears the
// name of its persisted key. Units: millimetres for sizes, gap, feed, black
// mark values and stop position; printer dots for the two margins. Speed and
// barcode width are held as list indexes (speed - 2, width - 1).
struct PrinterSettings {
  // Every field at the default that kSettingRows gives it.
  constexpr PrinterSettings();

  std::int32_t PrinterPort;   // 0..2 LPT1..3, 3..11 COM1..9, 12 USB
  std::int32_t PrinterSpeed;  // printed speed is index + 2
  std::int32_t PrinterDarkness;
  std::int32_t PrinterStriper;
  std::int32_t PrinterCutter;  // 0 no cutting, N: cut every N labels
  std::int32_t LabelSize;      // label height
  std::int32_t LabelWidth;
  std::int32_t LeftMargin;
  std::int32_t TopMargin;  // signed
  std::int32_t StopPosition;
  std::int32_t BarcodeWidth;  // narrow bar in dots is index + 1
  std::int32_t BarcodeReadable;
  std::int32_t BarcodeNarrow;  // 0 "2 / 1", 1 "3 / 1", 2 "5 / 2"
  std::int32_t LabelType;      // 0 gaps, 1 continuous tape, 2 black mark
  std::int32_t LabelGap;
  std::int32_t FeedLenght;
  std::int32_t BlackMarkLenght;
  std::int32_t BlackMarkPosition;
  std::int32_t LabelRotate;
  std::int32_t MetodTransfer;  // 0 direct thermal, 1 thermal transfer

  bool operator==(const PrinterSettings&) const = default;
};

namespace setting_rules {

constexpr ScriptRule ranged(std::int32_t low, std::int32_t high, std::int32_t offset = 0) {
  return {ScriptWrite::Ranged, {low, high}, offset};
}
inline constexpr ScriptRule kFlag{ScriptWrite::Flag, {0, 1}, 0};

inline constexpr std::optional<PageRule> kNoEdit;
constexpr std::optional<PageRule> edit(NumberRange typed, NumberRange arrows) {
  return PageRule{typed, arrows};
}
constexpr std::optional<PageRule> edit(NumberRange range) { return edit(range, range); }
inline constexpr NumberRange kAnyLength{0, 9999};

constexpr GroupSlot printer(std::size_t position) { return {SettingGroup::Printer, position}; }
constexpr GroupSlot label(std::size_t position) { return {SettingGroup::Label, position}; }
constexpr GroupSlot media(std::size_t position) { return {SettingGroup::Media, position}; }

}  // namespace setting_rules

// The twenty settings, in the order in which they are loaded and saved.
// Columns: key, field, property, default, script write (accepted values and
// offset), the field a non-zero script write clears, page edit ranges, and
// the group and parameter position of the page's exchange.
inline constexpr std::array<SettingRow, 20> kSettingRows = [] {
  using namespace setting_rules;
  using S = PrinterSettings;
  using P = Property;
  return std::array<SettingRow, 20>{{
      {u"PrinterPort", &S::PrinterPort, P::NumberPort, 0, ranged(0, 12), nullptr, kNoEdit,
       printer(0)},
      {u"PrinterSpeed", &S::PrinterSpeed, P::Speed, 0, ranged(2, 7, 2), nullptr, kNoEdit,
       printer(1)},
      {u"PrinterDarkness", &S::PrinterDarkness, P::Darkness, 5, ranged(0, 20), nullptr, kNoEdit,
       printer(2)},
      {u"PrinterStriper", &S::PrinterStriper, P::Stripper, 0, kFlag, &S::PrinterCutter, kNoEdit,
       printer(3)},
      {u"PrinterCutter", &S::PrinterCutter, P::Cutter, 0, ranged(0, 9999), &S::PrinterStriper,
       edit({1, 9999}), printer(4)},
      {u"LabelSize", &S::LabelSize, P::LabelHeight, 25, ranged(0, 9999), nullptr, edit(kAnyLength),
       label(0)},
      {u"LabelWidth", &S::LabelWidth, P::LabelWidth, 43, ranged(0, 9994), nullptr, edit(kAnyLength),
       label(1)},
      // The left offset's arrows stop at 5 while a typed 0 is kept.
      {u"LeftMargin", &S::LeftMargin, P::LabelLeftMargin, 0, ranged(0, 9999), nullptr,
       edit(kAnyLength, {5, 9999}), label(3)},
      {u"TopMargin", &S::TopMargin, P::LabelTopMargin, 0, ranged(-36, 36), nullptr, edit({-36, 36}),
       label(4)},
      {u"StopPosition", &S::StopPosition, P::StopPosition, 0, ranged(0, 9999), nullptr,
       edit({0, 40}), label(5)},
      {u"BarcodeWidth", &S::BarcodeWidth, P::BarcodeWidth, 1, ranged(1, 10, 1), nullptr, kNoEdit,
       media(0)},
      {u"BarcodeNarrow", &S::BarcodeNarrow, P::BarcodeNarrow, 0, ranged(0, 2), nullptr, kNoEdit,
       media(1)},
      {u"BarcodeReadable", &S::BarcodeReadable, P::BarcodeReadable, 1, kFlag, nullptr, kNoEdit,
       media(2)},
      {u"LabelType", &S::LabelType, P::LabelType, 0, ranged(0, 2), nullptr, kNoEdit, media(3)},
      {u"LabelGap", &S::LabelGap, P::GapLenght, 3, ranged(1, 255), nullptr, edit({1, 255}),
       label(2)},
      {u"FeedLenght", &S::FeedLenght, P::FeedLenght, 10, ranged(0, 9999), nullptr, edit(kAnyLength),
       media(4)},
      {u"BlackMarkLenght", &S::BlackMarkLenght, P::BlackMarkLenght, 0, ranged(0, 9999), nullptr,
       edit(kAnyLength), media(5)},
      {u"BlackMarkPosition", &S::BlackMarkPosition, P::BlackMarkPosition, 0, ranged(0, 9999),
       nullptr, edit(kAnyLength), media(6)},
      {u"LabelRotate", &S::LabelRotate, P::LabelRotate, 0, kFlag, nullptr, kNoEdit, label(6)},
      {u"MetodTransfer", &S::MetodTransfer, P::Termotransfer, 0, kFlag, nullptr, kNoEdit,
       printer(5)},
  }};
}();

constexpr PrinterSettings::PrinterSettings() {
  for (const SettingRow& row : kSettingRows) this->*row.field = row.defaultValue;
}

// The row of a field, of a property; nullptr when none has one.
constexpr const SettingRow* settingRow(std::int32_t PrinterSettings::*field) {
  for (const SettingRow& row : kSettingRows) {
    if (row.field == field) return &row;
  }
  return nullptr;
}
constexpr const SettingRow* settingRow(Property property) {
  for (const SettingRow& row : kSettingRows) {
    if (row.property == property) return &row;
  }
  return nullptr;
}

constexpr std::size_t groupSize(SettingGroup group) {
  std::size_t size = 0;
  for (const SettingRow& row : kSettingRows) size += row.slot.group == group ? 1 : 0;
  return size;
}

// One group of the settings page's exchange, raw (indexes as stored, no
// range check, no side effects), the values in parameter order.
template <SettingGroup Group>
struct SettingGroupValues {
  std::array<std::int32_t, groupSize(Group)> values;
  bool operator==(const SettingGroupValues&) const = default;
};
using PrinterGroup = SettingGroupValues<SettingGroup::Printer>;
using LabelGroup = SettingGroupValues<SettingGroup::Label>;
using MediaGroup = SettingGroupValues<SettingGroup::Media>;

template <SettingGroup Group>
constexpr SettingGroupValues<Group> getGroup(const PrinterSettings& s) {
  SettingGroupValues<Group> values{};
  for (const SettingRow& row : kSettingRows) {
    if (row.slot.group == Group) values.values[row.slot.position] = s.*row.field;
  }
  return values;
}

template <SettingGroup Group>
constexpr void setGroup(PrinterSettings& s, const SettingGroupValues<Group>& values) {
  for (const SettingRow& row : kSettingRows) {
    if (row.slot.group == Group) s.*row.field = values.values[row.slot.position];
  }
}

inline PrinterGroup getPrinterGroup(const PrinterSettings& s) {
  return getGroup<SettingGroup::Printer>(s);
}
inline LabelGroup getLabelGroup(const PrinterSettings& s) {
  return getGroup<SettingGroup::Label>(s);
}
inline MediaGroup getMediaGroup(const PrinterSettings& s) {
  return getGroup<SettingGroup::Media>(s);
}
inline void setPrinterGroup(PrinterSettings& s, const PrinterGroup& g) { setGroup(s, g); }
inline void setLabelGroup(PrinterSettings& s, const LabelGroup& g) { setGroup(s, g); }
inline void setMediaGroup(PrinterSettings& s, const MediaGroup& g) { setGroup(s, g); }

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
