#include "check/quiet_zone_rule.h"

#include <algorithm>
#include <array>
#include <optional>

#include "preview/job/fields.h"

namespace tagwright::cli {
namespace {

int number(std::string_view field) { return preview::parseInteger(field).value_or(0); }

// A box's four lines: the sides `sides` dots thick, the top and bottom
// `ends` dots, all inside its corners. The inside is left light.
std::vector<ElementBox> boxLines(const ElementBox& b, int sides, int ends) {
  std::vector<ElementBox> lines;
  if (sides > 0) {
    lines.push_back({b.left, b.top, std::min(b.left + sides, b.right), b.bottom});
    lines.push_back({std::max(b.right - sides, b.left), b.top, b.right, b.bottom});
  }
  if (ends > 0) {
    lines.push_back({b.left, b.top, b.right, std::min(b.top + ends, b.bottom)});
    lines.push_back({b.left, std::max(b.bottom - ends, b.top), b.right, b.bottom});
  }
  return lines;
}

enum class Side { Left, Right, Top, Bottom };

const char* sideName(Side side) {
  switch (side) {
    case Side::Left: return "left";
    case Side::Right: return "right";
    case Side::Top: return "top";
    default: return "bottom";
  }
}

// The light dots between the bars and `o` on `side`, when `o` stands on
// that side within the bars' band; nothing when it does not.
std::optional<long long> gapTo(const ElementBox& bars, const ElementBox& o, Side side) {
  const bool acrossRows = o.top < bars.bottom && o.bottom > bars.top;
  const bool acrossColumns = o.left < bars.right && o.right > bars.left;
  switch (side) {
    case Side::Left:
      if (acrossRows && o.right <= bars.left) return bars.left - o.right;
      break;
    case Side::Right:
      if (acrossRows && o.left >= bars.right) return o.left - bars.right;
      break;
    case Side::Top:
      if (acrossColumns && o.bottom <= bars.top) return bars.top - o.bottom;
      break;
    case Side::Bottom:
      if (acrossColumns && o.top >= bars.bottom) return o.top - bars.bottom;
      break;
  }
  return std::nullopt;
}

std::string modules(long long count) {
  return std::to_string(count) + (count == 1 ? " module" : " modules");
}

std::string dots(long long count) {
  return std::to_string(count) + (count == 1 ? " dot" : " dots");
}

std::string needText(const BarsExtent& bars) {
  const preview::QuietZone& zone = *bars.quietZone;
  const int m = bars.moduleDots;
  if (zone.leading == zone.trailing) {
    return modules(zone.leading) + " (" + dots(zone.leading * m) + ") on each side";
  }
  return modules(zone.leading) + " (" + dots(zone.leading * m) + ") before the bars and " +
         modules(zone.trailing) + " (" + dots(zone.trailing * m) + ") after them";
}

}  // namespace

void QuietZoneRule::elementPlaced(const Statement& s, const WrittenElement& e,
                                  const ElementExtent& extent, const LabelFrame& label) {
  const std::size_t index = elements_++;
  if (e.layout->method == Method::PutRectangle) {
    for (const ElementBox& line : boxLines(extent.box, number(e.fields[4]), number(e.fields[5])))
      obstacles_.push_back({line, s.position, "the box", index});
  } else {
    obstacles_.push_back({extent.box, s.position, extent.what, index});
  }
  if (extent.bars && extent.bars->quietZone) {
    barcodes_.push_back({s.position, *extent.bars, label.widthDots, label.heightDots, index});
  }
}

void QuietZoneRule::labelEnded(FindingList& findings) {
  for (const Barcode& code : barcodes_) {
    const ElementBox& b = code.bars.box;
    const bool upright = code.bars.quarterTurns % 2 == 0;
    // The bars read along x when upright, along y when turned a quarter;
    // a turn brings the leading bar to the left, the top, the right, the
    // bottom.
    const std::array<Side, 4> leadingSides{Side::Left, Side::Top, Side::Right, Side::Bottom};
    const Side leading = leadingSides[static_cast<std::size_t>(code.bars.quarterTurns % 4)];
    const std::array<Side, 2> sides = upright ? std::array<Side, 2>{Side::Left, Side::Right}
                                              : std::array<Side, 2>{Side::Top, Side::Bottom};
    const std::array<long long, 4> edgeGaps{b.left, code.labelWidth - b.right, b.top,
                                            code.labelHeight - b.bottom};
    // Bars past the label's edge are the placement rule's finding.
    if (std::any_of(edgeGaps.begin(), edgeGaps.end(), [](long long gap) { return gap < 0; }))
      continue;
    std::string cut;
    for (const Side side : sides) {
      const int needModules =
          side == leading ? code.bars.quietZone->leading : code.bars.quietZone->trailing;
      const long long need = static_cast<long long>(needModules) * code.bars.moduleDots;
      long long gap = edgeGaps[static_cast<std::size_t>(side)];
      std::string cause = "to the label's " + std::string(sideName(side)) + " edge";
      for (const Obstacle& o : obstacles_) {
        if (o.element == code.element) continue;
        const std::optional<long long> g = gapTo(b, o.box, side);
        if (g && *g < gap) {
          gap = *g;
          cause = "up to " + o.what + " at line " + std::to_string(o.position.line);
        }
      }
      if (gap >= need) continue;
      cut += (cut.empty() ? "" : " and ") + modules(gap / code.bars.moduleDots) + " (" + dots(gap) +
             ") on its " + sideName(side) + ", " + cause;
    }
    if (cut.empty()) continue;
    findings.add(rule::kBarcodeQuietZone, code.position,
                 "the barcode's quiet zone is " + cut + "; " + code.bars.symbology + " needs " +
                     needText(code.bars) + ": a reader may not find the bars");
  }
  barcodes_.clear();
  obstacles_.clear();
  elements_ = 0;
}

}  // namespace tagwright::cli
