#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_lexer.h"
#include "core/script/script_value.h"
#include "core/util/result.h"

namespace tagwright::cli {

enum class StatementKind {
  SetProperty,   // Name = value
  CallMethod,    // Name(arg, ...)
  ShowProperty,  // ? Name
};

struct ScriptLiteral {
  ScriptValue value;  // a 32-bit integer or a UTF-16 text
  SourcePosition position;
};

struct Statement {
  StatementKind kind;
  std::u16string name;                // as written, UTF-16, for the component's lookup
  SourcePosition position;            // of the name
  std::vector<ScriptLiteral> values;  // the assigned value, or the arguments
};

// Every statement of a script, or its first fault.
using ScriptReadResult = Result<std::vector<Statement>, ScriptError>;

// Reads a whole script from the bytes of a UTF-8 file (a byte order mark
// is allowed). Either every statement is read or the first fault is
// reported; a script is never half read.
ScriptReadResult readScript(std::string_view utf8Bytes);

// "FILE:LINE:COL: message"
std::string formatScriptError(std::string_view file, const ScriptError& error);

}  // namespace tagwright::cli
