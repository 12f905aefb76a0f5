#pragma once

#include "preview/raster/bitmap.h"

namespace tagwright::preview {

// Where an element goes on the label: its anchor (the element's own top-left
// corner, at (0, 0) in element coordinates) and how many quarter turns
// clockwise it is turned about that anchor. Element pixels map to label
// pixels as Bitmap::draw maps them.
struct Placement {
  int x = 0;
  int y = 0;
  int quarterTurns = 0;
};

// Fills the element rectangle from (left, top) to (right, bottom)
// inclusive, given in element coordinates, on the label.
void fillPlaced(Bitmap& label, const Placement& placement, int left, int top, int right, int bottom,
                PaintMode mode = PaintMode::Black);

// Draws the black pixels of `element` (drawn upright at (0, 0)) on the
// label, as runs: one rectangle per run of equal rows, not one call per
// pixel.
void drawPlaced(Bitmap& label, const Placement& placement, const Bitmap& element,
                PaintMode mode = PaintMode::Black);

}  // namespace tagwright::preview
