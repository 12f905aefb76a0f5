#include "cli/app/script_files.h"

#include <iostream>
#include <iterator>

namespace tagwright::cli {

FileRead readOperand(const std::string& path) {
  if (path != "-") return readWholeFile(path);
  FileRead input;
  input.exists = true;
  input.content.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  return input;
}

Result<std::vector<ScriptSource>> readScriptFiles(const std::vector<std::string>& paths) {
  std::vector<ScriptSource> sources;
  for (const std::string& path : paths) {
    FileRead file = readOperand(path);
    using Scripts = Result<std::vector<ScriptSource>>;
    if (!file.exists) return Scripts::failure(path + ": no such script file");
    if (file.error) return Scripts::failure(*file.error);
    sources.push_back(ScriptSource{path == "-" ? "<stdin>" : path, std::move(file.content)});
  }
  return sources;
}

}  // namespace tagwright::cli
