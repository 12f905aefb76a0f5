#include "script/script_lexer.h"

#include <limits>

#include "core/text/utf8.h"

namespace tagwright::cli {
namespace {

bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

// Names are made of ASCII letters, digits and '_' and of any character
// beyond ASCII, so that Cyrillic names read as one word.
bool isNameChar(char32_t c) {
  return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || isDigit(c) || c == U'_' ||
         (c >= 0x80 && c != 0xA0 && c != 0xFEFF);
}

bool isBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\r' || c == 0xA0 || c == 0xFEFF;
}

std::string describe(char32_t c) {
  if (c < 0x20 || c == 0x7F) {
    const char* digits = "0123456789ABCDEF";
    const auto v = static_cast<unsigned>(c);
    std::string text = "control character 0x";
    text += digits[(v >> 4) & 0xF];
    text += digits[v & 0xF];
    return text;
  }
  return "'" + toUtf8(std::u32string_view(&c, 1)) + "'";
}

class Lexer {
 public:
  explicit Lexer(std::u32string_view source) : source_(source) {}

  LexResult run() {
    while (!error_ && i_ < source_.size()) step();
    if (error_) return LexResult::failure(std::move(*error_));
    push(TokenKind::EndOfLine, here());
    return std::move(tokens_);
  }

 private:
  SourcePosition here() const { return position_; }
  char32_t peek(std::size_t ahead = 0) const {
    return i_ + ahead < source_.size() ? source_[i_ + ahead] : U'\0';
  }
  bool atEnd(std::size_t ahead = 0) const { return i_ + ahead >= source_.size(); }

  void advance() {
    if (source_[i_] == U'\n') {
      ++position_.line;
      position_.column = 1;
    } else {
      ++position_.column;
    }
    ++i_;
  }

  void push(TokenKind kind, SourcePosition at, std::u32string text = {}, std::int32_t value = 0) {
    tokens_.push_back(Token{kind, at, std::move(text), value});
  }

  void fail(SourcePosition at, std::string message) {
    error_ = ScriptError{at, std::move(message)};
  }

  void step() {
    const char32_t c = peek();
    const SourcePosition at = here();
    if (c == U'\n') {
      push(TokenKind::EndOfLine, at);
      advance();
    } else if (isBlank(c)) {
      advance();
    } else if (c == U'/' && peek(1) == U'/') {
      while (!atEnd() && peek() != U'\n') advance();
    } else if (c == U'"') {
      readText();
    } else if (isDigit(c) || ((c == U'-' || c == U'+') && isDigit(peek(1)) && !atEnd(1))) {
      readInteger();
    } else if (isNameChar(c)) {
      std::u32string name;
      while (!atEnd() && isNameChar(peek())) {
        name += peek();
        advance();
      }
      push(TokenKind::Name, at, std::move(name));
    } else if (c == U'=' || c == U'(' || c == U')' || c == U',' || c == U'?') {
      const TokenKind kind = c == U'='   ? TokenKind::Equals
                             : c == U'(' ? TokenKind::OpenParen
                             : c == U')' ? TokenKind::CloseParen
                             : c == U',' ? TokenKind::Comma
                                         : TokenKind::Question;
      push(kind, at);
      advance();
    } else if (c == U'\0') {
      fail(at, "NUL character in the script");
    } else {
      fail(at, "unexpected " + describe(c));
    }
  }

  void readText() {
    const SourcePosition at = here();
    advance();  // opening quote
    std::u32string text;
    for (;;) {
      if (atEnd() || peek() == U'\n') {
        fail(at, "text not closed on its line (a quote inside a text is written \"\")");
        return;
      }
      if (peek() == U'\0') {
        fail(here(), "NUL character in the script");
        return;
      }
      if (peek() == U'"') {
        if (peek(1) == U'"' && !atEnd(1)) {
          text += U'"';
          advance();
          advance();
          continue;
        }
        advance();
        break;
      }
      text += peek();
      advance();
    }
    push(TokenKind::Text, at, std::move(text));
  }

  void readInteger() {
    const SourcePosition at = here();
    bool negative = false;
    if (peek() == U'-' || peek() == U'+') {
      negative = peek() == U'-';
      advance();
    }
    // Accumulate the magnitude with a ceiling just above the 32-bit range,
    // so that any number of digits is read without overflow.
    constexpr std::int64_t kCeiling = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
    std::int64_t magnitude = 0;
    while (!atEnd() && isDigit(peek())) {
      magnitude = magnitude * 10 + (peek() - U'0');
      if (magnitude > kCeiling) magnitude = kCeiling;
      advance();
    }
    if (!atEnd() && isNameChar(peek())) {
      fail(at, "a number runs into " + describe(peek()));
      return;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
      fail(at, "integer out of range (-2147483648 to 2147483647)");
      return;
    }
    push(TokenKind::Integer, at, {}, static_cast<std::int32_t>(value));
  }

  std::u32string_view source_;
  std::size_t i_ = 0;
  SourcePosition position_;
  std::vector<Token> tokens_;
  std::optional<ScriptError> error_;
};

}  // namespace

LexResult lexScript(std::u32string_view source) { return Lexer(source).run(); }

}  // namespace tagwright::cli
