#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "cli/script/script_runner.h"

namespace tagwright::cli {

struct ScriptFiles {
  std::vector<ScriptSource> sources;
  std::optional<std::string> error;
};

// Reads a file named on the command line whole; "-" is standard input,
// which always exists.
FileRead readOperand(const std::string& path);

// Reads every named script file ("-" is standard input) before any runs.
ScriptFiles readScriptFiles(const std::vector<std::string>& paths);

}  // namespace tagwright::cli
