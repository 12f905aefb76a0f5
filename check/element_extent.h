#pragma once

#include <optional>
#include <string>
#include <utility>

#include "check/check_resources.h"
#include "check/written_element.h"
#include "preview/barcode/linear_symbology.h"

namespace tagwright::cli {

// The rectangle an element covers on the label, in dots from the label's
// top-left corner: left and top included, right and bottom excluded.
struct ElementBox {
  long long left = 0;
  long long top = 0;
  long long right = 0;
  long long bottom = 0;
};

// What the preview would draw for a written element: its box (turned as
// the element is, moved by the label's origin) and what it is, for
// messages ("the barcode with its human-readable line"). Nothing when the
// preview would draw nothing (a symbol its data cannot make, no font for a
// text, an empty box).
// A linear barcode's bars alone, placed and turned as the printer draws
// them, with what they need around them.
struct BarsExtent {
  ElementBox box;
  int quarterTurns = 0;   // clockwise: 0 leading bar on the left, 1 on top, ...
  int moduleDots = 1;     // the narrow element's width
  std::string symbology;  // for messages: "Code 128"
  std::optional<preview::QuietZone> quietZone;
};

struct ElementExtent {
  ElementExtent(ElementBox box_, std::string what_, std::optional<BarsExtent> bars_ = std::nullopt)
      : box(box_), what(std::move(what_)), bars(std::move(bars_)) {}

  ElementBox box;
  std::string what;
  std::optional<BarsExtent> bars;  // linear barcodes only
};
std::optional<ElementExtent> elementExtent(const WrittenElement& element, int originX, int originY,
                                           CheckResources& resources);

}  // namespace tagwright::cli
