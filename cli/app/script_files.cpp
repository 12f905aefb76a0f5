#include "cli/app/script_files.h"

#include <iostream>
#include <iterator>

namespace tagwright::cli {

FileRead readOperand(const std::string& path) {
  if (path != "-") return readWholeFile(path);
  return std::optional<std::string>(
      std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()));
}

Result<std::vector<ScriptSource>> readScriptFiles(const std::vector<std::string>& paths) {
  std::vector<ScriptSource> sources;
  for (const std::string& path : paths) {
    FileRead file = readOperand(path);
    using Scripts = Result<std::vector<ScriptSource>>;
    if (!file) return Scripts::failure(file.error());
    if (!file.value()) return Scripts::failure(path + ": no such script file");
    sources.push_back(ScriptSource{path == "-" ? "<stdin>" : path, std::move(*file.value())});
  }
  return sources;
}

}  // namespace tagwright::cli
