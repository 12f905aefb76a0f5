#include "cli/app/script_files.h"

#include <iostream>
#include <iterator>

#include "cli/profile/atomic_file.h"

namespace tagwright::cli {

ScriptFiles readScriptFiles(const std::vector<std::string>& paths) {
  ScriptFiles files;
  for (const std::string& path : paths) {
    if (path == "-") {
      std::string bytes((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
      files.sources.push_back(ScriptSource{"<stdin>", std::move(bytes)});
      continue;
    }
    FileRead file = readWholeFile(path);
    if (!file.exists) {
      files.error = path + ": no such script file";
      return files;
    }
    if (file.error) {
      files.error = *file.error;
      return files;
    }
    files.sources.push_back(ScriptSource{path, std::move(file.content)});
  }
  return files;
}

}  // namespace tagwright::cli
