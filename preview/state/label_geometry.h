#pragma once

#include <string>

#include "preview/state/printer_setup.h"

namespace tagwright::preview {

// The label's picture size in dots: millimetres times whole dots per mm.
struct LabelSize {
  int widthDots = 0;
  int heightDots = 0;
  std::string error;  // non-empty: too big for a printer (or empty), nothing to allocate
};

// Checks the size against what a printer can hold before anything is
// allocated; the error names the size in millimetres and dots.
LabelSize labelSizeOf(const PrinterSetup& setup, int dotsPerMm);

// Millimetres to dots, rounded to the nearest dot.
long long millimetresToDots(double millimetres, int dotsPerMm);

}  // namespace tagwright::preview
