#pragma once

#include <string>
#include <vector>

#include "preview/barcode/zint_encoder.h"

namespace tagwright::preview {

// One bar or space of a linear symbol, in zint's modules.
struct ModuleElement {
  bool dark = false;
  int modules = 0;
  bool shortBar = false;  // POSTNET's half-height bars
};

// The bars and spaces of the symbol zint made, left to right. A symbol of
// more than one row (POSTNET) has its full bars in every row and its tall
// bars in the first only; a bar missing from the first row is short. Light
// modules before the first bar and after the last are left out.
std::vector<ModuleElement> elementsOf(const ZintOutput& symbol);

// A bar or space placed in dots.
struct DotElement {
  bool dark = false;
  int x = 0;
  int width = 0;
  bool shortBar = false;
};

struct DotLayout {
  std::vector<DotElement> elements;
  long long width = 0;  // dots; may exceed int for absurd widths, which the caller refuses
  std::string error;
};

// Single-width symbologies: every module `narrow` dots. Two-width ones: zint
// draws their narrow elements one module wide and their wide elements a
// fixed number of modules (2 for Code 39 and Codabar, 3 for Interleaved 2 of
// 5); each element becomes `narrow` or `wide` dots by which of the two it is.
// The element sequence is exactly the symbology's, since zint builds it from
// the same public character tables; a third run length would mean that is no
// longer true, and is an error rather than a wrong picture.
DotLayout layOutInDots(const std::vector<ModuleElement>& elements, bool twoWidth, int narrow,
                       int wide);

}  // namespace tagwright::preview
