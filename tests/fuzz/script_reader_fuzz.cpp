// libFuzzer entry point over the script reader: any byte string must be
// read or refused with a message, never crash or overrun.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/script_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // A fault must say where it is.
  tagwright::cli::ScriptReadResult result = tagwright::cli::readScript(bytes);
  if (!result && result.error().position.line < 1) __builtin_trap();
  return 0;
}
