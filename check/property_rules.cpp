#include "check/property_rules.h"

#include "check/check_rules.h"
#include "core/addin/property_values.h"
#include "core/text/utf8.h"

namespace tagwright::cli {
namespace {

std::string assignment(const Statement& s) {
  return toUtf8(s.name) + " = " + std::to_string(s.values.front().value.asInt32());
}

std::string at(SourcePosition p) { return "line " + std::to_string(p.line); }

}  // namespace

void checkPropertyWrite(const Statement& s, Property property, const PrinterSettings& after,
                        FindingList& findings) {
  const std::int32_t given = s.values.front().value.asInt32();
  const std::int32_t stored = readProperty(after, property);
  if (given == stored) return;
  const SettingRow* row = settingRow(property);
  std::string message;
  if (row == nullptr) {
    message = assignment(s) + " changes nothing: " + toUtf8(s.name) + " always reads " +
              std::to_string(stored);
  } else if (row->script.kind == ScriptWrite::Flag) {
    message = assignment(s) + " stores " + std::to_string(stored) +
              ": the property is a switch, 0 (off) or 1 (on)";
  } else {
    const NumberRange range = row->script.accepted;
    message = assignment(s) + " is outside " + std::to_string(range.low) + ".." +
              std::to_string(range.high) + ": the component stores its default, " +
              std::to_string(stored);
  }
  findings.add(rule::kPropertyFallback, s.values.front().position, std::move(message));
}

void checkBarcodeWidth(const Statement& s, const PrinterSettings& before,
                       const PrinterSettings& after, FindingList& findings) {
  const std::int32_t was = readProperty(before, Property::BarcodeWidth);
  const std::int32_t now = readProperty(after, Property::BarcodeWidth);
  if (was == now) return;
  const std::string type =
      s.values.front().value.isText() ? toUtf8(s.values.front().value.asText()) : "";
  findings.add(rule::kBarcodeWidthChanged, s.values.front().position,
               "barcode type \"" + type + "\" changes the BarcodeWidth setting from " +
                   std::to_string(was) + " to " + std::to_string(now) +
                   " dots: every later barcode is printed with it, and the profile keeps it");
}

void StripperAndCutter::propertyWritten(const Statement& s, Property property,
                                        const PrinterSettings& before, const PrinterSettings& after,
                                        FindingList& findings) {
  const bool stripper = property == Property::Stripper;
  if (!stripper && property != Property::Cutter) return;
  std::optional<SourcePosition>& mine = stripper ? stripperOnAt_ : cutterOnAt_;
  std::optional<SourcePosition>& other = stripper ? cutterOnAt_ : stripperOnAt_;
  const std::int32_t PrinterSettings::*otherField =
      stripper ? &PrinterSettings::PrinterCutter : &PrinterSettings::PrinterStriper;
  const bool on = (stripper ? after.PrinterStriper : after.PrinterCutter) != 0;
  mine = on ? std::optional<SourcePosition>(s.position) : std::nullopt;
  if (!on || !other) return;
  if (before.*otherField != 0 && after.*otherField == 0) {
    findings.add(rule::kStripperAndCutter, s.position,
                 assignment(s) + " turns off the " + (stripper ? "cutter" : "stripper") + " that " +
                     at(*other) + " turned on: only the " + (stripper ? "stripper" : "cutter") +
                     " stays on");
  }
  other.reset();
}

}  // namespace tagwright::cli
