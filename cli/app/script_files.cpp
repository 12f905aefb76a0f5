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

ScriptFiles readScriptFiles(const std::vector<std::string>& paths) {
  ScriptFiles files;
  for (const std::string& path : paths) {
    FileRead file = readOperand(path);
    if (!file.exists) {
      files.error = path + ": no such script file";
      return files;
    }
    if (file.error) {
      files.error = *file.error;
      return files;
    }
    files.sources.push_back(ScriptSource{path == "-" ? "<stdin>" : path, std::move(file.content)});
  }
  return files;
}

}  // namespace tagwright::cli
