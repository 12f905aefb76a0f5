#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/host/script_host.h"
#include "cli/script/script_reader.h"

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

struct PrepareResult {
  std::vector<PreparedScript> scripts;
  std::optional<std::string> error;  // "FILE:LINE:COL: message"
};

// Reads every script and binds every statement through the component's
// own lookup (FindProp, FindMethod, GetNParams, HasRetVal) before anything
// runs, so that a fault anywhere stops the run before the first call and
// nothing is half printed. Property values are checked to be integers,
// the only type the component stores.
PrepareResult prepareScripts(const std::vector<ScriptSource>& sources, ScriptHost& host);

// Runs prepared scripts in order on a started host. "? Name" writes
// "Name = value" to `shown`. Stops at the first call the component refuses
// or fails and returns its message. `starting`, when given, is told the
// file of each script before its first statement runs.
std::optional<std::string> runPreparedScripts(
    const std::vector<PreparedScript>& scripts, ScriptHost& host, std::ostream& shown,
    const std::function<void(const std::string& file)>& starting = {});

}  // namespace tagwright::cli
