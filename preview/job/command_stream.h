#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "preview/preview.h"

namespace tagwright::preview {

// One command of a printer job: its bytes without the CR that ends it, the
// byte offset of its first byte in the job, and, for an inline image
// (`Q x,y,bytes,rows` inside a label format), the raw bitmap bytes that
// follow it.
struct Command {
  std::size_t offset = 0;
  std::string_view line;
  std::string_view data;
};

struct CommandStream {
  std::vector<Command> commands;
  std::vector<PreviewNote> notes;  // about the stream's framing (line feeds, a missing CR)
};

// Splits any bytes into commands. Commands end with CR; line feeds are
// tolerated as the assumptions say, with a note. Empty commands are
// dropped (they are nothing). The views point into `job`. `inLabel`: the
// bytes begin inside a label format (a stream split from the middle), where
// an inline image's data follows its command.
CommandStream splitCommands(std::string_view job, bool inLabel = false);

// The size of an inline image's data from its command line (`Q x,y,bytes,rows`),
// or -1 when the line is not a well-formed inline image command.
long long inlineImageDataSize(std::string_view line);

}  // namespace tagwright::preview
