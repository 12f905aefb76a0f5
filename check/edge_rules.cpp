#include "check/edge_rules.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace tagwright::cli {
namespace {

// Dots as millimetres at the printer's resolution, to a tenth: "4.6 mm".
std::string millimetres(long long dots, int dotsPerMm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(dots) / dotsPerMm);
  std::string mm = text;
  if (mm.size() > 2 && mm.compare(mm.size() - 2, 2, ".0") == 0) mm.resize(mm.size() - 2);
  return mm + " mm";
}

std::string measure(long long dots, int dotsPerMm) {
  return std::to_string(dots) + (dots == 1 ? " dot (" : " dots (") + millimetres(dots, dotsPerMm) +
         ")";
}

std::string labelText(const LabelFrame& label) {
  char mm[64];
  std::snprintf(mm, sizeof mm, "%g x %g mm", label.widthMm, label.heightMm);
  return std::to_string(label.widthDots) + " x " + std::to_string(label.heightDots) + " dots, " +
         mm;
}

struct Overhang {
  const char* edge;
  long long dots;
};

}  // namespace

void checkPlacement(const Statement& s, const ElementExtent& extent, const LabelFrame& label,
                    int dotsPerMm, FindingList& findings) {
  const ElementBox& b = extent.box;
  if (b.right <= b.left || b.bottom <= b.top) return;
  const long long width = label.widthDots;
  const long long height = label.heightDots;
  const std::array<Overhang, 4> overhangs{{
      {"left", -b.left},
      {"right", b.right - width},
      {"top", -b.top},
      {"bottom", b.bottom - height},
  }};
  const int dpm = dotsPerMm;
  const bool outside = b.right <= 0 || b.left >= width || b.bottom <= 0 || b.top >= height;
  if (outside) {
    // How far it lies past the edge it is farthest beyond: its near side's
    // distance from that edge.
    const std::array<Overhang, 4> beyond{{
        {"left", -b.right},
        {"right", b.left - width},
        {"top", -b.bottom},
        {"bottom", b.top - height},
    }};
    const Overhang& far =
        *std::max_element(beyond.begin(), beyond.end(),
                          [](const Overhang& x, const Overhang& y) { return x.dots < y.dots; });
    findings.add(rule::kElementOutsideLabel, s.position,
                 extent.what + " lies wholly outside the label (" + labelText(label) + "), " +
                     measure(far.dots, dpm) + " past its " + far.edge +
                     " edge: nothing of it prints");
    return;
  }
  std::string past;
  for (const Overhang& o : overhangs) {
    if (o.dots <= 0) continue;
    past += (past.empty() ? "" : " and ") + measure(o.dots, dpm) + " past the " + o.edge + " edge";
  }
  if (past.empty()) return;
  findings.add(rule::kElementPastEdge, s.position,
               extent.what + " reaches " + past + " of the label (" + labelText(label) +
                   "): that part does not print");
}

}  // namespace tagwright::cli
