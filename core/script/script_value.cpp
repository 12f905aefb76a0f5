#include "core/script/script_value.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace tagwright {
namespace {

constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::int32_t saturate(std::int64_t v) {
  if (v < kMin32) return static_cast<std::int32_t>(kMin32);
  if (v > kMax32) return static_cast<std::int32_t>(kMax32);
  return static_cast<std::int32_t>(v);
}

std::optional<std::int64_t> roundHalfEven(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  double r = std::nearbyint(v);  // the default rounding mode is to nearest, ties to even
  if (r < -9.2e18 || r > 9.2e18) return std::nullopt;
  return static_cast<std::int64_t>(r);
}

std::u16string asciiToUtf16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

bool ScriptValue::operator==(const ScriptValue& other) const {
  if (value_.index() != other.value_.index()) return false;
  if (isInt32()) return asInt32() == other.asInt32();
  if (isText()) return asText() == other.asText();
  if (isReal()) return asReal() == other.asReal();
  if (isBoolean()) return asBoolean() == other.asBoolean();
  if (isOtherInteger()) return asOtherInteger() == other.asOtherInteger();
  return true;  // Empty and Other carry no value
}

std::optional<std::int32_t> coerceToInt32(const ScriptValue& value) {
  if (value.isInt32()) return value.asInt32();
  if (value.isBoolean()) return value.asBoolean() ? -1 : 0;
  if (value.isOtherInteger()) {
    std::int64_t v = value.asOtherInteger();
    if (v < kMin32 || v > kMax32) return std::nullopt;
    return static_cast<std::int32_t>(v);
  }
  if (value.isReal()) {
    auto r = roundHalfEven(value.asReal());
    if (!r || *r < kMin32 || *r > kMax32) return std::nullopt;
    return static_cast<std::int32_t>(*r);
  }
  if (value.isText()) {
    const std::u16string& t = value.asText();
    std::size_t i = 0;
    while (i < t.size() && isBlank(t[i])) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
    std::size_t firstDigit = i;
    std::int64_t magnitude = 0;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
      magnitude = magnitude * 10 + (t[i] - u'0');
      if (magnitude > kMax32 + 1) return std::nullopt;
      ++i;
    }
    if (i == firstDigit) return std::nullopt;
    while (i < t.size() && isBlank(t[i])) ++i;
    if (i != t.size()) return std::nullopt;
    std::int64_t v = negative ? -magnitude : magnitude;
    if (v < kMin32 || v > kMax32) return std::nullopt;
    return static_cast<std::int32_t>(v);
  }
  return std::nullopt;
}

std::int32_t readLeadingDecimal(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  std::int64_t magnitude = 0;
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
    if (magnitude <= kMax32 + 1) magnitude = magnitude * 10 + (text[i] - u'0');
    ++i;
  }
  return saturate(negative ? -magnitude : magnitude);
}

std::int32_t argumentAsNumber(const ScriptValue& value) {
  if (value.isInt32()) return value.asInt32();
  if (value.isText()) return readLeadingDecimal(value.asText());
  if (value.isBoolean()) return value.asBoolean() ? -1 : 0;
  if (value.isOtherInteger()) return saturate(value.asOtherInteger());
  if (value.isReal()) {
    double v = value.asReal();
    if (std::isnan(v)) return 0;
    if (v <= static_cast<double>(kMin32)) return static_cast<std::int32_t>(kMin32);
    if (v >= static_cast<double>(kMax32)) return static_cast<std::int32_t>(kMax32);
    return static_cast<std::int32_t>(std::nearbyint(v));
  }
  return 0;
}

std::u16string argumentAsText(const ScriptValue& value) {
  if (value.isText()) return value.asText();
  if (value.isInt32()) return asciiToUtf16(std::to_string(value.asInt32()));
  if (value.isOtherInteger()) return asciiToUtf16(std::to_string(value.asOtherInteger()));
  if (value.isBoolean()) return value.asBoolean() ? u"-1" : u"0";
  if (value.isReal()) {
    double v = value.asReal();
    if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 1e15) {
      return asciiToUtf16(std::to_string(static_cast<std::int64_t>(v)));
    }
    std::string s = std::to_string(v);  // fixed notation with six decimals
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return asciiToUtf16(s);
  }
  return {};
}

const ScriptValue& argumentAt(const ScriptArgs& args, std::size_t index) {
  static const ScriptValue kMissing;
  return index < args.size() ? args[index] : kMissing;
}

}  // namespace tagwright
