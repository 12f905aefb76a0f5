#include "preview/barcode/linear_symbology.h"

#include <array>

namespace tagwright::preview {
namespace {

struct TypeEntry {
  std::string_view field;
  LinearType type;
};

constexpr std::array kTypeTable{
    TypeEntry{"A", {Symbology::Code39, "Code 39"}},
    TypeEntry{"A2", {Symbology::Code39, "Code 39 with check digit", 0, true}},
    TypeEntry{"B", {Symbology::Ean8, "EAN-8"}},
    TypeEntry{"C", {Symbology::Ean8, "EAN-8 + 2-digit add-on", 2}},
    TypeEntry{"D", {Symbology::Ean8, "EAN-8 + 5-digit add-on", 5}},
    TypeEntry{"E", {Symbology::Ean13, "EAN-13"}},
    TypeEntry{"F", {Symbology::Ean13, "EAN-13 + 2-digit add-on", 2}},
    TypeEntry{"G", {Symbology::Ean13, "EAN-13 + 5-digit add-on", 5}},
    TypeEntry{"H", {Symbology::UpcA, "UPC-A"}},
    TypeEntry{"I", {Symbology::UpcA, "UPC-A + 2-digit add-on", 2}},
    TypeEntry{"J", {Symbology::UpcA, "UPC-A + 5-digit add-on", 5}},
    TypeEntry{"K", {Symbology::UpcE, "UPC-E"}},
    TypeEntry{"L", {Symbology::UpcE, "UPC-E + 2-digit add-on", 2}},
    TypeEntry{"M", {Symbology::UpcE, "UPC-E + 5-digit add-on", 5}},
    TypeEntry{"N", {Symbology::Interleaved2of5, "Interleaved 2 of 5"}},
    TypeEntry{"N2", {Symbology::Interleaved2of5, "Interleaved 2 of 5 with check digit", 0, true}},
    TypeEntry{"O", {Symbology::Codabar, "Codabar"}},
    TypeEntry{"P", {Symbology::Code93, "Code 93"}},
    TypeEntry{"Q", {Symbology::Code128, "Code 128"}},
    TypeEntry{"Q2", {Symbology::Code128, "Code 128 with subsets set in the data", 0, false, true}},
    TypeEntry{"R", {Symbology::Ucc128, "UCC 128"}},
    TypeEntry{"S", {Symbology::Postnet, "POSTNET"}},
    TypeEntry{"T", {Symbology::Dun14, "DUN-14"}},
    TypeEntry{"U", {Symbology::Ean128, "EAN 128"}},
    TypeEntry{"V", {Symbology::Rps128, "RPS 128"}},
};

}  // namespace

std::optional<LinearType> linearTypeFor(std::string_view typeField) {
  for (const TypeEntry& entry : kTypeTable) {
    if (entry.field == typeField) return entry.type;
  }
  return std::nullopt;
}

bool isTwoWidth(Symbology symbology) {
  switch (symbology) {
    case Symbology::Code39:
    case Symbology::Interleaved2of5:
    case Symbology::Codabar:
    case Symbology::Dun14: return true;
    default: return false;
  }
}

std::optional<QuietZone> quietZoneOf(const LinearType& type) {
  // An add-on ends with its own margin of 5 modules.
  const auto ean = [&](int leading, int trailing) {
    return QuietZone{leading, type.addOnDigits > 0 ? 5 : trailing};
  };
  switch (type.symbology) {
    case Symbology::Ean13: return ean(11, 7);
    case Symbology::Ean8: return ean(7, 7);
    case Symbology::UpcA: return ean(9, 9);
    case Symbology::UpcE: return ean(9, 7);
    case Symbology::Postnet: return std::nullopt;
    default: return QuietZone{10, 10};
  }
}

}  // namespace tagwright::preview
