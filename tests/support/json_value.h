#pragma once

#include <cctype>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/utf8.h"

namespace tagwright::test_support {

// A parsed JSON value, strict enough to tell well-formed output from not:
// objects, arrays, strings (escapes undone, \u kept as UTF-8 for the BMP),
// numbers, true, false, null.
struct JsonValue {
  enum class Kind { Null, Boolean, Number, String, Array, Object } kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string string;
  std::vector<JsonValue> array;
  std::map<std::string, JsonValue> object;

  bool has(const std::string& key) const { return kind == Kind::Object && object.count(key); }
  const JsonValue& operator[](const std::string& key) const { return object.at(key); }
};

class JsonParser {
 public:
  // The whole text as one value; nothing when it is not well-formed JSON.
  static std::optional<JsonValue> parse(std::string_view text) {
    JsonParser p(text);
    std::optional<JsonValue> value = p.value();
    p.blanks();
    if (!value || p.at_ != text.size()) return std::nullopt;
    return value;
  }

 private:
  explicit JsonParser(std::string_view text) : text_(text) {}

  void blanks() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t')) {
      ++at_;
    }
  }
  bool take(char c) {
    blanks();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  bool word(std::string_view w) {
    if (text_.substr(at_, w.size()) != w) return false;
    at_ += w.size();
    return true;
  }

  std::optional<JsonValue> value() {
    blanks();
    if (at_ >= text_.size()) return std::nullopt;
    JsonValue v;
    const char c = text_[at_];
    if (c == '{') return objectValue();
    if (c == '[') return arrayValue();
    if (c == '"') {
      std::optional<std::string> s = stringValue();
      if (!s) return std::nullopt;
      v.kind = JsonValue::Kind::String;
      v.string = *s;
      return v;
    }
    if (word("true") || word("false")) {
      v.kind = JsonValue::Kind::Boolean;
      v.boolean = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
      return v;
    }
    if (word("null")) return v;
    return numberValue();
  }

  std::optional<JsonValue> numberValue() {
    const std::size_t start = at_;
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    std::size_t digits = 0;
    while (at_ < text_.size() &&
           (std::isdigit(static_cast<unsigned char>(text_[at_])) || text_[at_] == '.' ||
            text_[at_] == 'e' || text_[at_] == 'E' || text_[at_] == '+' || text_[at_] == '-')) {
      ++at_;
      ++digits;
    }
    if (digits == 0) return std::nullopt;
    JsonValue v;
    v.kind = JsonValue::Kind::Number;
    v.number = std::stod(std::string(text_.substr(start, at_ - start)));
    return v;
  }

  std::optional<std::string> stringValue() {
    if (!take('"')) return std::nullopt;
    std::string s;
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '"') return s;
      if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
      if (c != '\\') {
        s += c;
        continue;
      }
      if (at_ >= text_.size()) return std::nullopt;
      const char e = text_[at_++];
      switch (e) {
        case '"': s += '"'; break;
        case '\\': s += '\\'; break;
        case '/': s += '/'; break;
        case 'n': s += '\n'; break;
        case 'r': s += '\r'; break;
        case 't': s += '\t'; break;
        case 'b': s += '\b'; break;
        case 'f': s += '\f'; break;
        case 'u': {
          if (at_ + 4 > text_.size()) return std::nullopt;
          const unsigned code =
              static_cast<unsigned>(std::stoul(std::string(text_.substr(at_, 4)), nullptr, 16));
          at_ += 4;
          appendUtf8(s, static_cast<char32_t>(code));
          break;
        }
        default: return std::nullopt;
      }
    }
    return std::nullopt;
  }

  std::optional<JsonValue> arrayValue() {
    take('[');
    JsonValue v;
    v.kind = JsonValue::Kind::Array;
    if (take(']')) return v;
    do {
      std::optional<JsonValue> item = value();
      if (!item) return std::nullopt;
      v.array.push_back(std::move(*item));
    } while (take(','));
    if (!take(']')) return std::nullopt;
    return v;
  }

  std::optional<JsonValue> objectValue() {
    take('{');
    JsonValue v;
    v.kind = JsonValue::Kind::Object;
    if (take('}')) return v;
    do {
      blanks();
      std::optional<std::string> key = stringValue();
      if (!key || !take(':')) return std::nullopt;
      std::optional<JsonValue> item = value();
      if (!item || v.object.count(*key)) return std::nullopt;
      v.object.emplace(*key, std::move(*item));
    } while (take(','));
    if (!take('}')) return std::nullopt;
    return v;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace tagwright::test_support
