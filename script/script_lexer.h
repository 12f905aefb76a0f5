#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include "core/util/result.h"

namespace tagwright::cli {

// A place in a script file, both counted from 1; columns count characters
// (code points), as an editor shows them.
struct SourcePosition {
  int line = 1;
  int column = 1;
  bool operator==(const SourcePosition&) const = default;
};

struct ScriptError {
  SourcePosition position;
  std::string message;
};

enum class TokenKind {
  Name,
  Integer,
  Text,
  Equals,
  OpenParen,
  CloseParen,
  Comma,
  Question,
  EndOfLine
};

struct Token {
  TokenKind kind;
  SourcePosition position;
  std::u32string text;       // the name or the text's content (quotes undone)
  std::int32_t integer = 0;  // the value of an integer
};

// The tokens (the last one is always an EndOfLine), or the first fault.
using LexResult = Result<std::vector<Token>, ScriptError>;

// Splits a decoded script into tokens. Comments ("//" to the end of the
// line) and blanks vanish; each line end becomes an EndOfLine token. A
// sign belongs to the integer it touches ("-5"). Texts are double-quoted,
// a doubled quote standing for one, and end on the line they start on.
LexResult lexScript(std::u32string_view source);

}  // namespace tagwright::cli
