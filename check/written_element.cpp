#include "check/written_element.h"

#include <array>

#include "preview/job/fields.h"

namespace tagwright::cli {
namespace {

using U = ArgumentUse;

// PutText(x, y, h-scale, v-scale, gap, rotation, font, text) writes
// "A font,x,y,hm,vm,gap,rotation,text"; PutLoadedText the same as "V".
constexpr std::array<ArgumentField, 8> kTextArguments{{
    {"x", 1, U::Number},
    {"y", 2, U::Number},
    {"horizontal scale", 3, U::Number},
    {"vertical scale", 4, U::Number},
    {"gap", 5, U::Number},
    {"rotation", 6, U::Number},
    {"font", 0, U::Font},
    {"text", 7, U::Text},
}};

// PutBarcode(type, x, y, height, rotation, data) writes
// "B type,x,y,narrow,wide,height,rotation,readable,data".
constexpr std::array<ArgumentField, 6> kBarcodeArguments{{
    {"type", 0, U::Type},
    {"x", 1, U::Number},
    {"y", 2, U::Number},
    {"height", 5, U::Number},
    {"rotation", 6, U::Number},
    {"data", 8, U::Text},
}};

constexpr std::array<ArgumentField, 6> kRectangleArguments{{
    {"x1", 0, U::Number},
    {"y1", 1, U::Number},
    {"x2", 2, U::Number},
    {"y2", 3, U::Number},
    {"horizontal line", 4, U::Number},
    {"vertical line", 5, U::Number},
}};

constexpr std::array<ArgumentField, 4> kAreaArguments{{
    {"x", 0, U::Number},
    {"y", 1, U::Number},
    {"first closing value", 2, U::Number},
    {"second closing value", 3, U::Number},
}};

constexpr std::array<ArgumentField, 3> kImageArguments{{
    {"x", 0, U::Number},
    {"y", 1, U::Number},
    {"image name", 2, U::Text},
}};

constexpr std::array<ArgumentField, 8> kPdf417Arguments{{
    {"x", 0, U::Number},
    {"y", 1, U::Number},
    {"module width", 2, U::Number},
    {"row height", 3, U::Number},
    {"rows", 4, U::Number},
    {"columns", 5, U::Number},
    {"level", 6, U::Number},
    {"data", 7, U::Text},
}};

constexpr std::array<ElementLayout, 7> kLayouts{{
    {Method::PutText, "A", 8, kTextArguments, true, "text"},
    {Method::PutLoadedText, "V", 8, kTextArguments, false, "text"},
    {Method::PutBarcode, "B", 9, kBarcodeArguments, false, "barcode"},
    {Method::PutRectangle, "R", 6, kRectangleArguments, false, "box"},
    {Method::InversRectangle, "Lo,", 4, kAreaArguments, false, "area"},
    {Method::PutImage, "Y", 3, kImageArguments, true, "image"},
    {Method::PutBarcodePDF417, "P", 8, kPdf417Arguments, false, "PDF417 symbol"},
}};

}  // namespace

const ElementLayout* elementLayout(Method method) {
  for (const ElementLayout& layout : kLayouts) {
    if (layout.method == method) return &layout;
  }
  return nullptr;
}

std::optional<WrittenElement> readWrittenElement(const ElementLayout& layout,
                                                 std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (!line.starts_with(layout.command)) return std::nullopt;
  WrittenElement element{
      &layout, line, preview::splitFields(line.substr(layout.command.size()), layout.fieldCount)};
  if (element.fields.size() != layout.fieldCount) return std::nullopt;
  return element;
}

}  // namespace tagwright::cli
