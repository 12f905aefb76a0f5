#pragma once

#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "script/script_runner.h"
#include "core/util/result.h"

namespace tagwright::cli {

// Reads a file named on the command line whole; "-" is standard input,
// which always exists.
FileRead readOperand(const std::string& path);

// Reads every named script file ("-" is standard input) before any runs.
Result<std::vector<ScriptSource>> readScriptFiles(const std::vector<std::string>& paths);

}  // namespace tagwright::cli
