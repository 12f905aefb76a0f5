#pragma once

#include <string>
#include <string_view>

#include "core/text/code_pages.h"

namespace tagwright::cli {

// Shows a printer command stream one command a line (commands end with a
// carriage return). Control bytes are made visible as <NUL>, <LF>, <ESC>,
// <0x1F> and so on; a last command without its carriage return ends with
// <no CR>. Bytes above 127 are decoded for reading: PutText ('A') and
// PutImage ('Y') lines from the OEM code page, all others from the ANSI code
// page, as the component writes them. With `decoder` null they are shown
// as \xNN instead.
struct DumpDecoders {
  const CodePages* ansi = nullptr;  // fromAnsi() decodes the ANSI page
  const CodePages* oem = nullptr;   // fromAnsi() decodes the OEM page
};

std::string dumpCommandStream(std::string_view bytes, const DumpDecoders& decoders);

}  // namespace tagwright::cli
