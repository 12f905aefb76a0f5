#include "designer/method_parameters.h"

#include <array>

namespace tagwright::designer {
namespace {

constexpr std::array<std::string_view, 6> kBarcode{"type", "x", "y", "height", "rotation", "data"};
constexpr std::array<std::string_view, 8> kText{
    "x", "y", "horizontal scale", "vertical scale", "gap", "rotation", "font", "text"};
constexpr std::array<std::string_view, 6> kRectangle{"x1", "y1",           "x2",
                                                     "y2", "line width x", "line width y"};
constexpr std::array<std::string_view, 4> kInverse{"x1", "y1", "x2", "y2"};
constexpr std::array<std::string_view, 1> kCopies{"copies"};
constexpr std::array<std::string_view, 3> kImage{"x", "y", "image name"};
constexpr std::array<std::string_view, 8> kPdf417{
    "x", "y", "module width", "row height", "rows", "columns", "error correction level", "data"};

}  // namespace

std::span<const std::string_view> methodParameters(Method method) {
  switch (method) {
    case Method::StartLabel: return {};
    case Method::PutBarcode: return kBarcode;
    case Method::PutText:
    case Method::PutLoadedText: return kText;
    case Method::PutRectangle: return kRectangle;
    case Method::InversRectangle: return kInverse;
    case Method::Print:
    case Method::PrintToBuff: return kCopies;
    case Method::PutImage: return kImage;
    case Method::PutBarcodePDF417: return kPdf417;
  }
  return {};
}

}  // namespace tagwright::designer
