#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "script/script_host.h"
#include "script/script_reader.h"
#include "core/util/result.h"

namespace tagwright::cli {

struct ScriptSource {
  std::string file;   // the name shown in messages
  std::string bytes;  // the file's content, UTF-8
};

// A statement bound to the component: its property or method number, and
// for a method whether it is called as a function.
struct PreparedStatement {
  Statement statement;
  std::int32_t number = -1;
  bool asFunction = false;
};

struct PreparedScript {
  std::string file;
  std::vector<PreparedStatement> statements;
};

// Where and why a script could not be read or bound.
struct ScriptFault {
  std::string file;
  ScriptError error;

  // "FILE:LINE:COL: message"
  std::string message() const { return formatScriptError(file, error); }
};

// Every script bound, or the first fault.
using PrepareResult = Result<std::vector<PreparedScript>, ScriptFault>;

// Sees a run from the inside: the fault that stops it before the first
// call, or every statement just before and just after the component takes
// it (the check watches the component this way).
class StatementObserver {
 public:
  virtual ~StatementObserver() = default;
  // A script that cannot be read or bound; true when the observer reports
  // it itself, false to have the run report it as usual.
  virtual bool refused(const ScriptFault&) { return false; }
  // Before the first statement of each script.
  virtual void scriptStarting(const std::string& /*file*/) {}
  virtual void before(const PreparedScript&, const PreparedStatement&) {}
  virtual void after(const PreparedScript&, const PreparedStatement&) {}
};

// Reads every script and binds every statement through the component's
// own lookup (FindProp, FindMethod, GetNParams, HasRetVal) before anything
// runs, so that a fault anywhere stops the run before the first call and
// nothing is half printed. Property values are checked to be integers,
// the only type the component stores.
PrepareResult prepareScripts(const std::vector<ScriptSource>& sources, ScriptHost& host);

// Runs prepared scripts in order on a started host. "? Name" writes
// "Name = value" to `shown`. Stops at the first call the component refuses
// or fails, with its message. `observer`, when given, sees every
// statement taken.
Status runPreparedScripts(const std::vector<PreparedScript>& scripts, ScriptHost& host,
                          std::ostream& shown, StatementObserver* observer = nullptr);

}  // namespace tagwright::cli
