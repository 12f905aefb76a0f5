#include "core/settings/page_edits.h"

#include <array>
#include <string>

#include "core/script/script_value.h"
#include "core/settings/page_ids.h"

namespace tagwright {

namespace {

constexpr NumberRange kAnyLength{0, 9999};

const std::array<PageEdit, 7> kFixedEdits{{
    {page_id::kCutterCountEdit, page_id::kCutterCountSpin, &PrinterSettings::PrinterCutter,
     {1, 9999}, {1, 9999}},
    {page_id::kLabelHeightEdit, page_id::kLabelHeightSpin, &PrinterSettings::LabelSize,
     kAnyLength, kAnyLength},
    {page_id::kLabelWidthEdit, page_id::kLabelWidthSpin, &PrinterSettings::LabelWidth, kAnyLength,
     kAnyLength},
    {page_id::kLeftOffsetEdit, page_id::kLeftOffsetSpin, &PrinterSettings::LeftMargin, kAnyLength,
     {5, 9999}},
    {page_id::kTopOffsetEdit, page_id::kTopOffsetSpin, &PrinterSettings::TopMargin, {-36, 36},
     {-36, 36}},
    {page_id::kStopPositionEdit, page_id::kStopPositionSpin, &PrinterSettings::StopPosition,
     {0, 40}, {0, 40}},
    {page_id::kBlackMarkOffsetEdit, page_id::kBlackMarkOffsetSpin,
     &PrinterSettings::BlackMarkPosition, kAnyLength, kAnyLength},
}};

}  // namespace

std::span<const PageEdit> fixedPageEdits() { return kFixedEdits; }

PageEdit mediaLengthEdit(std::int32_t labelType) {
  switch (labelType) {
    case 0:
      return {page_id::kMediaLengthEdit, page_id::kMediaLengthSpin, &PrinterSettings::LabelGap,
              {1, 255}, {1, 255}};
    case 1:
      return {page_id::kMediaLengthEdit, page_id::kMediaLengthSpin, &PrinterSettings::FeedLenght,
              kAnyLength, kAnyLength};
    default:
      return {page_id::kMediaLengthEdit, page_id::kMediaLengthSpin,
              &PrinterSettings::BlackMarkLenght, kAnyLength, kAnyLength};
  }
}

std::optional<PageEdit> findPageEdit(int edit, std::int32_t labelType) {
  if (edit == page_id::kMediaLengthEdit) return mediaLengthEdit(labelType);
  for (const PageEdit& e : kFixedEdits) {
    if (e.edit == edit) return e;
  }
  return std::nullopt;
}

std::int32_t editNumber(std::u16string_view text) { return readLeadingDecimal(text); }

std::u16string editText(std::int32_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace tagwright
