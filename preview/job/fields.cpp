#include "preview/job/fields.h"

#include <charconv>
#include <limits>

namespace tagwright::preview {
namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<std::string_view> splitFields(std::string_view text, std::size_t count) {
  std::vector<std::string_view> fields;
  if (count == 0) return fields;
  fields.reserve(count);
  while (fields.size() + 1 < count) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) break;
    fields.push_back(text.substr(0, comma));
    text.remove_prefix(comma + 1);
  }
  fields.push_back(text);
  return fields;
}

std::optional<int> parseInteger(std::string_view field) {
  field = trimmed(field);
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  if (field.empty()) return std::nullopt;
  long long value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc{} || end != field.data() + field.size()) return std::nullopt;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

std::optional<double> parseMillimetres(std::string_view field) {
  field = trimmed(field);
  if (field.empty() || field.size() > 16) return std::nullopt;
  double whole = 0;
  double scale = 0;  // 0 until the decimal point, then the weight of the next digit
  bool digits = false;
  for (const char c : field) {
    if (c == '.' && scale == 0) {
      scale = 0.1;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (scale == 0) {
        whole = whole * 10 + (c - '0');
      } else {
        whole += (c - '0') * scale;
        scale /= 10;
      }
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  return whole;
}

}  // namespace tagwright::preview
