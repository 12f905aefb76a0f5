#include "script/script_reader.h"

#include "core/text/utf8.h"

namespace tagwright::cli {
namespace {

// The line and column that follow `text`, so that an encoding fault is
// placed like any other.
SourcePosition positionAfter(std::u32string_view text) {
  SourcePosition p;
  for (char32_t c : text) {
    if (c == U'\n') {
      ++p.line;
      p.column = 1;
    } else {
      ++p.column;
    }
  }
  return p;
}

std::string describe(const Token& token) {
  switch (token.kind) {
    case TokenKind::Name: return "name '" + toUtf8(token.text) + "'";
    case TokenKind::Integer: return "number " + std::to_string(token.integer);
    case TokenKind::Text: return "text \"" + toUtf8(token.text) + "\"";
    case TokenKind::Equals: return "'='";
    case TokenKind::OpenParen: return "'('";
    case TokenKind::CloseParen: return "')'";
    case TokenKind::Comma: return "','";
    case TokenKind::Question: return "'?'";
    case TokenKind::EndOfLine: return "the end of the line";
  }
  return "a token";
}

class Parser {
 public:
  explicit Parser(const std::vector<Token>& tokens) : tokens_(tokens) {}

  ScriptReadResult run() {
    std::vector<Statement> statements;
    while (i_ < tokens_.size()) {
      if (current().kind == TokenKind::EndOfLine) {
        ++i_;
        continue;
      }
      std::optional<Statement> statement = parseStatement();
      if (!statement) {
        // A script is read whole or not at all.
        return ScriptReadResult::failure(error_);
      }
      statements.push_back(std::move(*statement));
    }
    return statements;
  }

 private:
  const Token& current() const { return tokens_[i_]; }

  std::nullopt_t fail(const Token& at, std::string message) {
    error_ = ScriptError{at.position, std::move(message)};
    return std::nullopt;
  }

  std::optional<ScriptLiteral> parseValue(const char* what) {
    const Token& token = current();
    if (token.kind == TokenKind::Integer) {
      ++i_;
      return ScriptLiteral{ScriptValue::int32(token.integer), token.position};
    }
    if (token.kind == TokenKind::Text) {
      ++i_;
      return ScriptLiteral{ScriptValue::text(toUtf16(token.text)), token.position};
    }
    return fail(token, std::string("expected ") + what + " (an integer or a quoted text), found " +
                           describe(token));
  }

  bool expectEndOfLine() {
    if (current().kind == TokenKind::EndOfLine) {
      ++i_;
      return true;
    }
    fail(current(), "unexpected " + describe(current()) + " after the statement");
    return false;
  }

  std::optional<Statement> parseStatement() {
    if (current().kind == TokenKind::Question) {
      ++i_;
      const Token& name = current();
      if (name.kind != TokenKind::Name) {
        return fail(name, "expected a property name after '?', found " + describe(name));
      }
      ++i_;
      Statement statement{StatementKind::ShowProperty, toUtf16(name.text), name.position, {}};
      if (!expectEndOfLine()) return std::nullopt;
      return statement;
    }
    const Token& name = current();
    if (name.kind != TokenKind::Name) {
      return fail(name, "a statement starts with a name or '?', not with " + describe(name));
    }
    ++i_;
    Statement statement{StatementKind::SetProperty, toUtf16(name.text), name.position, {}};
    if (current().kind == TokenKind::Equals) {
      ++i_;
      std::optional<ScriptLiteral> value = parseValue("a value");
      if (!value) return std::nullopt;
      statement.values.push_back(std::move(*value));
    } else if (current().kind == TokenKind::OpenParen) {
      ++i_;
      statement.kind = StatementKind::CallMethod;
      if (current().kind == TokenKind::CloseParen) {
        ++i_;
      } else {
        for (;;) {
          std::optional<ScriptLiteral> argument = parseValue("an argument");
          if (!argument) return std::nullopt;
          statement.values.push_back(std::move(*argument));
          if (current().kind == TokenKind::Comma) {
            ++i_;
            continue;
          }
          if (current().kind == TokenKind::CloseParen) {
            ++i_;
            break;
          }
          return fail(current(),
                      "expected ',' or ')' in the argument list, found " + describe(current()));
        }
      }
    } else {
      return fail(current(), "expected '=' or '(' after '" + toUtf8(name.text) + "', found " +
                                 describe(current()));
    }
    if (!expectEndOfLine()) return std::nullopt;
    return statement;
  }

  const std::vector<Token>& tokens_;
  std::size_t i_ = 0;
  ScriptError error_;
};

}  // namespace

ScriptReadResult readScript(std::string_view utf8Bytes) {
  const Result<std::u32string, Utf8Fault> decoded = decodeUtf8(utf8Bytes);
  if (!decoded) {
    // The bytes before the fault are valid: the fault is placed after them.
    const Utf8Fault& fault = decoded.error();
    return ScriptReadResult::failure(
        ScriptError{positionAfter(decodeUtf8Replacing(utf8Bytes.substr(0, fault.byteOffset))),
                    "invalid UTF-8: " + fault.reason + " (save the script as UTF-8)"});
  }
  LexResult lexed = lexScript(decoded.value());
  if (!lexed) return ScriptReadResult::failure(lexed.error());
  return Parser(lexed.value()).run();
}

std::string formatScriptError(std::string_view file, const ScriptError& error) {
  return std::string(file) + ":" + std::to_string(error.position.line) + ":" +
         std::to_string(error.position.column) + ": " + error.message;
}

}  // namespace tagwright::cli
