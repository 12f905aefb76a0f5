#pragma once

#include <optional>

#include "cli/check/check_resources.h"
#include "cli/check/written_element.h"

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
struct ElementExtent {
  ElementBox box;
  std::string what;
};
std::optional<ElementExtent> elementExtent(const WrittenElement& element, int originX, int originY,
                                           CheckResources& resources);

}  // namespace tagwright::cli
