// libFuzzer entry point over the splitter that cuts a printer job into
// commands, which the virtual printer runs on every byte a peer sends:
// any bytes. Each command must be the job's own bytes at its offset, in
// order, never overlapping, with no CR or LF in its line; an inline
// image's data must follow its line's CR and never be longer than it
// announced; every note must point into the job.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "preview/job/command_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view job(reinterpret_cast<const char*>(data), size);
  const tagwright::preview::CommandStream stream = tagwright::preview::splitCommands(job);
  std::size_t next = 0;  // the first byte no command has taken yet
  for (const tagwright::preview::Command& command : stream.commands) {
    if (command.offset < next || command.line.empty()) __builtin_trap();
    if (command.line.data() != job.data() + command.offset) __builtin_trap();
    if (command.offset + command.line.size() > job.size()) __builtin_trap();
    if (command.line.find_first_of("\r\n") != std::string_view::npos) __builtin_trap();
    next = command.offset + command.line.size();
    if (!command.data.empty()) {
      // Data only after a CR, and no more than the line announced.
      if (next >= job.size() || job[next] != '\r') __builtin_trap();
      if (command.data.data() != job.data() + next + 1) __builtin_trap();
      const long long announced = tagwright::preview::inlineImageDataSize(command.line);
      if (announced < 0 || command.data.size() > static_cast<unsigned long long>(announced)) {
        __builtin_trap();
      }
      next += 1 + command.data.size();
    }
    if (next > job.size()) __builtin_trap();
  }
  for (const tagwright::preview::PreviewNote& note : stream.notes) {
    if (note.offset > job.size()) __builtin_trap();
  }
  return 0;
}
