#include <algorithm>

#include "preview/assumptions.h"
#include "preview/job/fields.h"
#include "preview/render/elements.h"

namespace tagwright::preview {
namespace {

// Two corners, in any order, as the label rectangle they span (corner dots
// included).
struct Corners {
  int left;
  int top;
  int right;
  int bottom;
};

std::optional<Corners> readCorners(const ElementContext& element,
                                   const std::vector<std::string_view>& fields) {
  const auto x1 = positionField(element, fields[0], "x1");
  const auto y1 = positionField(element, fields[1], "y1");
  const auto x2 = positionField(element, fields[2], "x2");
  const auto y2 = positionField(element, fields[3], "y2");
  if (!x1 || !y1 || !x2 || !y2) return std::nullopt;
  static_assert(assumptions::kCornersInclusive);
  return Corners{element.originX + std::min(*x1, *x2), element.originY + std::min(*y1, *y2),
                 element.originX + std::max(*x1, *x2), element.originY + std::max(*y1, *y2)};
}

}  // namespace

void drawBox(const ElementContext& element) {
  const std::vector<std::string_view> fields = splitFields(element.command.line.substr(1), 6);
  if (fields.size() < 6) {
    element.note("a box needs 6 fields (x1,y1,x2,y2,lr,tb); not drawn");
    return;
  }
  const std::optional<Corners> box = readCorners(element, fields);
  const auto sides = fieldIn(element, fields[4], 0, 100000, "the side thickness");
  const auto ends = fieldIn(element, fields[5], 0, 100000, "the top and bottom thickness");
  if (!box || !sides || !ends) {
    element.note("not drawn");
    return;
  }
  Bitmap& label = element.label;
  // Every side lies inside the corners: thicker sides than the box only
  // fill it.
  const int sideRight = std::min(box->left + *sides - 1, box->right);
  const int sideLeft = std::max(box->right - *sides + 1, box->left);
  const int endBottom = std::min(box->top + *ends - 1, box->bottom);
  const int endTop = std::max(box->bottom - *ends + 1, box->top);
  if (*sides > 0) {
    label.fillRect(box->left, box->top, sideRight, box->bottom);
    label.fillRect(sideLeft, box->top, box->right, box->bottom);
  }
  if (*ends > 0) {
    label.fillRect(box->left, box->top, box->right, endBottom);
    label.fillRect(box->left, endTop, box->right, box->bottom);
  }
}

void drawArea(const ElementContext& element) {
  const std::string_view line = element.command.line;
  const bool overwrite = line.starts_with("Lo,");
  const bool exclusiveOr = line.starts_with("Le,");
  if (!overwrite && !exclusiveOr) {
    element.note("not an area the preview knows (Lo, solid, or Le, exclusive-or); not drawn");
    return;
  }
  const std::vector<std::string_view> fields = splitFields(line.substr(3), 4);
  if (fields.size() < 4) {
    element.note("an area needs 4 fields (x1,y1,x2,y2); not drawn");
    return;
  }
  const std::optional<Corners> area = readCorners(element, fields);
  if (!area) {
    element.note("not drawn");
    return;
  }
  element.label.fillRect(area->left, area->top, area->right, area->bottom,
                         overwrite ? PaintMode::Black : PaintMode::Invert);
}

}  // namespace tagwright::preview
