#pragma once

#include <optional>

#include "check/finding_list.h"
#include "script/script_reader.h"
#include "core/settings/printer_settings.h"

namespace tagwright::cli {

// `Name = value` that the component stores otherwise: the value read back
// is not the one given (out of range: the setting's default; a switch: 0
// or 1; IsEnabled: always 1).
void checkPropertyWrite(const Statement& statement, Property property, const PrinterSettings& after,
                        FindingList& findings);

// A barcode whose type corrects the barcode width setting, which every
// later barcode then uses and the profile keeps.
void checkBarcodeWidth(const Statement& statement, const PrinterSettings& before,
                       const PrinterSettings& after, FindingList& findings);

// The stripper and the cutter exclude each other: turning one on turns the
// other off. Reports a script that turns both on, at the later one.
class StripperAndCutter {
 public:
  void propertyWritten(const Statement& statement, Property property, const PrinterSettings& before,
                       const PrinterSettings& after, FindingList& findings);

 private:
  std::optional<SourcePosition> stripperOnAt_;
  std::optional<SourcePosition> cutterOnAt_;
};

}  // namespace tagwright::cli
