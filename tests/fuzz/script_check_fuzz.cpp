// libFuzzer entry point over `tagwright check`: any bytes as a script are
// read, bound, run through the component and checked, or refused with a
// finding; never a crash, an overrun or a check without its summary line.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/app/linked_app.h"

namespace {

// One folder for the whole run, holding the script being checked; the
// profile named there is never written, as the check saves nothing.
const std::string& workFolder() {
  static const std::string folder = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tagwright-check-fuzz-XXXXXX").string();
    return std::string(::mkdtemp(pattern.data()));
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string script = workFolder() + "/input.tws";
  {
    std::ofstream file(script, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  std::ostringstream out;
  std::ostringstream err;
  const int status = tagwright::cli::runLinkedProgram(
      {"check", "--profile", workFolder() + "/profile", script}, out, err);
  if (status != 0 && status != 1) __builtin_trap();
  if (out.str().find(" in 1 script\n") == std::string::npos) __builtin_trap();
  if (std::filesystem::exists(workFolder() + "/profile")) __builtin_trap();
  return 0;
}
