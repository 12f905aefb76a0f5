#include "script/script_runner.h"

#include "core/text/utf8.h"

namespace tagwright::cli {
namespace {

std::string quoted(const std::u16string& name) { return "'" + toUtf8(name) + "'"; }

std::string argumentCount(std::int32_t n) {
  return std::to_string(n) + (n == 1 ? " argument" : " arguments");
}

std::string at(const std::string& file, SourcePosition position, const std::string& message) {
  return formatScriptError(file, ScriptError{position, message});
}

std::optional<ScriptError> bind(PreparedStatement& prepared, ScriptHost& host) {
  const Statement& s = prepared.statement;
  if (s.kind == StatementKind::CallMethod) {
    std::optional<std::int32_t> method = host.findMethod(s.name);
    if (!method) {
      if (host.findProperty(s.name)) {
        return ScriptError{s.position,
                           quoted(s.name) + " is a property: write " + toUtf8(s.name) + " = value"};
      }
      return ScriptError{s.position, "unknown method " + quoted(s.name)};
    }
    std::optional<std::int32_t> expected = host.paramCount(*method);
    std::optional<bool> function = host.hasReturnValue(*method);
    if (!expected || !function) {
      return ScriptError{s.position, "the component does not describe method " + quoted(s.name)};
    }
    const auto given = static_cast<std::int32_t>(s.values.size());
    if (given != *expected) {
      return ScriptError{s.position, quoted(s.name) + " takes " + argumentCount(*expected) + ", " +
                                         std::to_string(given) + " given"};
    }
    prepared.number = *method;
    prepared.asFunction = *function;
    return std::nullopt;
  }
  std::optional<std::int32_t> property = host.findProperty(s.name);
  if (!property) {
    if (host.findMethod(s.name)) {
      return ScriptError{s.position,
                         quoted(s.name) + " is a method: call it as " + toUtf8(s.name) + "(...)"};
    }
    return ScriptError{s.position, "unknown property " + quoted(s.name)};
  }
  if (s.kind == StatementKind::SetProperty && !s.values.front().value.isInt32()) {
    return ScriptError{s.values.front().position,
                       "property " + quoted(s.name) + " takes an integer, not a text"};
  }
  prepared.number = *property;
  return std::nullopt;
}

std::string showValue(const ScriptValue& value) {
  if (value.isInt32()) return std::to_string(value.asInt32());
  if (value.isText()) return "\"" + toUtf8(value.asText()) + "\"";
  if (value.isEmpty()) return "(empty)";
  return "(a value of another type)";
}

Status failure(const std::string& file, const Statement& s, HostResult r, const char* what) {
  const std::string verb = r == HostResult::Refused ? "refused " : "failed ";
  return Status::failure(
      at(file, s.position, "the component " + verb + what + " " + quoted(s.name)));
}

}  // namespace

PrepareResult prepareScripts(const std::vector<ScriptSource>& sources, ScriptHost& host) {
  std::vector<PreparedScript> scripts;
  for (const ScriptSource& source : sources) {
    ScriptReadResult read = readScript(source.bytes);
    if (!read) return PrepareResult::failure(ScriptFault{source.file, read.error()});
    PreparedScript script{source.file, {}};
    for (Statement& statement : std::move(read).value()) {
      PreparedStatement prepared{std::move(statement), -1, false};
      if (auto error = bind(prepared, host)) {
        return PrepareResult::failure(ScriptFault{source.file, std::move(*error)});
      }
      script.statements.push_back(std::move(prepared));
    }
    scripts.push_back(std::move(script));
  }
  return scripts;
}

Status runPreparedScripts(const std::vector<PreparedScript>& scripts, ScriptHost& host,
                          std::ostream& shown, StatementObserver* observer) {
  for (const PreparedScript& script : scripts) {
    if (observer) observer->scriptStarting(script.file);
    for (const PreparedStatement& p : script.statements) {
      const Statement& s = p.statement;
      if (observer) observer->before(script, p);
      switch (s.kind) {
        case StatementKind::SetProperty: {
          HostResult r = host.setProperty(p.number, s.values.front().value);
          if (r != HostResult::Ok) return failure(script.file, s, r, "the value of");
          break;
        }
        case StatementKind::ShowProperty: {
          ScriptValue value;
          HostResult r = host.getProperty(p.number, value);
          if (r != HostResult::Ok) return failure(script.file, s, r, "to read");
          shown << toUtf8(s.name) << " = " << showValue(value) << '\n';
          break;
        }
        case StatementKind::CallMethod: {
          ScriptArgs args;
          args.reserve(s.values.size());
          for (const ScriptLiteral& literal : s.values) args.push_back(literal.value);
          ScriptValue result;
          HostResult r = p.asFunction ? host.callAsFunc(p.number, result, args)
                                      : host.callAsProc(p.number, args);
          if (r != HostResult::Ok) return failure(script.file, s, r, "the call of");
          break;
        }
      }
      if (observer) observer->after(script, p);
    }
  }
  shown.flush();
  return Status::success();
}

}  // namespace tagwright::cli
