#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tagwright {

// A value crossing from a host script into the core. The COM adapter maps
// VARIANTs onto it and the command-line host maps its literals onto it, so
// both feed the same code. Only the distinctions the core acts on are kept:
// a 32-bit integer is not the same as another integer type (property writes
// accept only the former).
class ScriptValue {
 public:
  struct Empty {};
  struct OtherInteger {
    std::int64_t value;
  };
  struct Other {};  // dates, objects, arrays: nothing the core can read

  ScriptValue() = default;
  static ScriptValue int32(std::int32_t v) { return ScriptValue(Storage(v)); }
  static ScriptValue text(std::u16string v) { return ScriptValue(Storage(std::move(v))); }
  static ScriptValue real(double v) { return ScriptValue(Storage(v)); }
  static ScriptValue boolean(bool v) { return ScriptValue(Storage(v)); }
  static ScriptValue otherInteger(std::int64_t v) { return ScriptValue(Storage(OtherInteger{v})); }
  static ScriptValue other() { return ScriptValue(Storage(Other{})); }

  bool isEmpty() const { return std::holds_alternative<Empty>(value_); }
  bool isInt32() const { return std::holds_alternative<std::int32_t>(value_); }
  bool isText() const { return std::holds_alternative<std::u16string>(value_); }
  bool isReal() const { return std::holds_alternative<double>(value_); }
  bool isBoolean() const { return std::holds_alternative<bool>(value_); }
  bool isOtherInteger() const { return std::holds_alternative<OtherInteger>(value_); }
  bool isOther() const { return std::holds_alternative<Other>(value_); }

  // Accessors; each requires the matching is...() to hold.
  std::int32_t asInt32() const { return std::get<std::int32_t>(value_); }
  const std::u16string& asText() const { return std::get<std::u16string>(value_); }
  double asReal() const { return std::get<double>(value_); }
  bool asBoolean() const { return std::get<bool>(value_); }
  std::int64_t asOtherInteger() const { return std::get<OtherInteger>(value_).value; }

  bool operator==(const ScriptValue& other) const;

 private:
  using Storage =
      std::variant<Empty, std::int32_t, std::u16string, double, bool, OtherInteger, Other>;
  explicit ScriptValue(Storage v) : value_(std::move(v)) {}
  Storage value_;
};

using ScriptArgs = std::vector<ScriptValue>;

// Strict conversion to a 32-bit integer, the way an automation host coerces
// a value: a decimal text (blanks around it allowed, nothing else), a real
// rounded half to even, a boolean as -1 or 0. Empty, out-of-range and
// unreadable values give nothing.
std::optional<std::int32_t> coerceToInt32(const ScriptValue& value);

// Lenient reading of a decimal number at the start of a text: leading blanks,
// an optional sign, then digits up to the first non-digit; no digits give 0.
// Values beyond the 32-bit range saturate.
std::int32_t readLeadingDecimal(std::u16string_view text);

// A method argument read as a number: an integer as is, a text by its leading
// decimal, a real rounded (saturating), a boolean as -1 or 0, anything else 0.
std::int32_t argumentAsNumber(const ScriptValue& value);

// A method argument read as text: a text as is, a number in decimal form,
// anything else empty.
std::u16string argumentAsText(const ScriptValue& value);

// Argument k of an array that may be shorter than expected: missing reads as
// an empty value, never outside the array.
const ScriptValue& argumentAt(const ScriptArgs& args, std::size_t index);

}  // namespace tagwright
