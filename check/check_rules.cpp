#include "check/check_rules.h"

#include <array>

namespace tagwright::cli {
namespace {

using S = Severity;

constexpr std::array<CheckRule, 17> kRules{{
    {rule::kScriptError, S::Error, "the script cannot be read or bound to the component"},
    {rule::kPropertyFallback, S::Warning,
     "a property value the component does not store as given (out of range: its default)"},
    {rule::kArgumentClamped, S::Warning,
     "a method argument the component writes otherwise than given (clamped, cut or trimmed)"},
    {rule::kUnrepresentableCharacter, S::Warning,
     "a character the printer's code page cannot represent; it prints as ?"},
    {rule::kBarcodeType, S::Error, "a barcode type letter the printer language does not define"},
    {rule::kBarcodeData, S::Error, "barcode data its symbology cannot encode"},
    {rule::kPdf417Fit, S::Error,
     "PDF417 data that does not fit its rows, columns and error correction level"},
    {rule::kElementOutsideLabel, S::Error,
     "an element entirely outside the label: nothing of it prints"},
    {rule::kElementPastEdge, S::Warning,
     "an element partly outside the label: its overhang is lost"},
    {rule::kBarcodeQuietZone, S::Warning,
     "a linear barcode whose quiet zone is cut by another element or the label's edge"},
    {rule::kBarcodeWidthChanged, S::Warning,
     "a barcode type that changes the barcode width setting for every later barcode"},
    {rule::kElementBeforeStartLabel, S::Warning,
     "an element placed before the first StartLabel: its label has no set-up commands"},
    {rule::kLabelNeverPrinted, S::Warning, "a label composed and never printed"},
    {rule::kBufferNeverSent, S::Warning, "labels collected by PrintToBuff and never sent"},
    {rule::kEmptyPrint, S::Warning, "Print with nothing to print: an empty job is sent"},
    {rule::kStripperAndCutter, S::Warning,
     "both the stripper and the cutter set in one script: only the later one stays on"},
    {rule::kSettingsPageHidden, S::Warning, "a stored setting that the settings page cannot show"},
}};

}  // namespace

std::span<const CheckRule> checkRules() { return kRules; }

const CheckRule& checkRule(std::string_view name) {
  for (const CheckRule& r : kRules) {
    if (r.name == name) return r;
  }
  return kRules.front();
}

}  // namespace tagwright::cli
