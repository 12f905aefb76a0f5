#pragma once

#include <span>
#include <string_view>

#include "check/finding.h"

namespace tagwright::cli {

// One rule of the check: its name, how serious its findings are, and what
// it finds in a line (the SARIF output lists these; docs/check.md explains
// each with an example and the fix).
struct CheckRule {
  std::string_view name;
  Severity severity;
  std::string_view summary;
};

namespace rule {
inline constexpr std::string_view kScriptError = "script-error";
inline constexpr std::string_view kPropertyFallback = "property-fallback";
inline constexpr std::string_view kArgumentClamped = "argument-clamped";
inline constexpr std::string_view kUnrepresentableCharacter = "unrepresentable-character";
inline constexpr std::string_view kBarcodeType = "barcode-type";
inline constexpr std::string_view kBarcodeData = "barcode-data";
inline constexpr std::string_view kPdf417Fit = "pdf417-fit";
inline constexpr std::string_view kElementOutsideLabel = "element-outside-label";
inline constexpr std::string_view kElementPastEdge = "element-past-edge";
inline constexpr std::string_view kBarcodeQuietZone = "barcode-quiet-zone";
inline constexpr std::string_view kBarcodeWidthChanged = "barcode-width-changed";
inline constexpr std::string_view kElementBeforeStartLabel = "element-before-start-label";
inline constexpr std::string_view kLabelNeverPrinted = "label-never-printed";
inline constexpr std::string_view kBufferNeverSent = "buffer-never-sent";
inline constexpr std::string_view kEmptyPrint = "empty-print";
inline constexpr std::string_view kStripperAndCutter = "stripper-and-cutter";
inline constexpr std::string_view kSettingsPageHidden = "settings-page-hidden";
}  // namespace rule

// Every rule, in the order docs/check.md lists them.
std::span<const CheckRule> checkRules();

// The rule of this name; the script-error rule for an unknown name.
const CheckRule& checkRule(std::string_view name);

}  // namespace tagwright::cli
