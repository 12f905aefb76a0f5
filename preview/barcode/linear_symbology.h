#pragma once

#include <optional>
#include <string_view>

namespace tagwright::preview {

// The symbologies behind the `B` command's type letters.
enum class Symbology {
  Code39,
  Ean8,
  Ean13,
  UpcA,
  UpcE,
  Interleaved2of5,
  Codabar,
  Code93,
  Code128,
  Ucc128,
  Postnet,
  Dun14,
  Ean128,
  Rps128,
};

// One entry of the type table: a letter, optionally followed by "2" for its
// variant.
struct LinearType {
  Symbology symbology;
  std::string_view name;       // for messages: "EAN-13 + 2-digit add-on"
  int addOnDigits = 0;         // 0, 2 or 5
  bool checkDigit = false;     // A2, N2: a check character is added
  bool subsetsInData = false;  // Q2
};

// The type a `B` command's type field names, or nothing when the printer
// draws no barcode of that type.
std::optional<LinearType> linearTypeFor(std::string_view typeField);

// Two-width symbologies draw their wide elements `wide` dots wide; the rest
// draw every module `narrow` dots wide.
bool isTwoWidth(Symbology symbology);

// The light margin a reader needs before the first bar (leading) and after
// the last (trailing, after the add-on where there is one), in modules.
struct QuietZone {
  int leading = 0;
  int trailing = 0;
};

// Ten modules for the Code 39, Code 93, Code 128, Interleaved 2 of 5 and
// Codabar families; the EAN/UPC figures for those; nothing for POSTNET,
// whose reader does not go by modules.
std::optional<QuietZone> quietZoneOf(const LinearType& type);

}  // namespace tagwright::preview
