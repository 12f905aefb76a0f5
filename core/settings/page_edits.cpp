#include "core/settings/page_edits.h"

#include <array>
#include <string>

#include "core/script/script_value.h"
#include "core/settings/page_ids.h"

namespace tagwright {

namespace {

// The edit of a field, with the ranges of the field's row. A field without a
// page edit in its row does not build.
constexpr PageEdit pageEdit(int edit, int spin, std::int32_t PrinterSettings::*field) {
  const PageRule rule = settingRow(field)->page.value();
  return {edit, spin, field, rule.typed, rule.arrows};
}

constexpr std::array<PageEdit, 7> kFixedEdits{{
    pageEdit(page_id::kCutterCountEdit, page_id::kCutterCountSpin, &PrinterSettings::PrinterCutter),
    pageEdit(page_id::kLabelHeightEdit, page_id::kLabelHeightSpin, &PrinterSettings::LabelSize),
    pageEdit(page_id::kLabelWidthEdit, page_id::kLabelWidthSpin, &PrinterSettings::LabelWidth),
    pageEdit(page_id::kLeftOffsetEdit, page_id::kLeftOffsetSpin, &PrinterSettings::LeftMargin),
    pageEdit(page_id::kTopOffsetEdit, page_id::kTopOffsetSpin, &PrinterSettings::TopMargin),
    pageEdit(page_id::kStopPositionEdit, page_id::kStopPositionSpin,
             &PrinterSettings::StopPosition),
    pageEdit(page_id::kBlackMarkOffsetEdit, page_id::kBlackMarkOffsetSpin,
             &PrinterSettings::BlackMarkPosition),
}};

// The media length edit shows one field per media: the gap for labels with
// gaps (0), the feed length for continuous tape (1), the black mark length
// for anything else.
constexpr std::array<PageEdit, 3> kMediaLengthEdits{{
    pageEdit(page_id::kMediaLengthEdit, page_id::kMediaLengthSpin, &PrinterSettings::LabelGap),
    pageEdit(page_id::kMediaLengthEdit, page_id::kMediaLengthSpin, &PrinterSettings::FeedLenght),
    pageEdit(page_id::kMediaLengthEdit, page_id::kMediaLengthSpin,
             &PrinterSettings::BlackMarkLenght),
}};

}  // namespace

std::span<const PageEdit> fixedPageEdits() { return kFixedEdits; }

PageEdit mediaLengthEdit(std::int32_t labelType) {
  return kMediaLengthEdits[labelType == 0 || labelType == 1 ? static_cast<std::size_t>(labelType)
                                                            : 2];
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
