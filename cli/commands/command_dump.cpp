#include "cli/commands/command_dump.h"

#include "core/text/utf8.h"

namespace tagwright::cli {
namespace {

std::string hex(unsigned char b) {
  const char* digits = "0123456789ABCDEF";
  return {digits[b >> 4], digits[b & 0xF]};
}

std::string controlName(unsigned char b) {
  switch (b) {
    case 0x00: return "<NUL>";
    case 0x09: return "<TAB>";
    case 0x0A: return "<LF>";
    case 0x0C: return "<FF>";
    case 0x1B: return "<ESC>";
    case 0x7F: return "<DEL>";
    default: return "<0x" + hex(b) + ">";
  }
}

std::string showCommand(std::string_view command, const DumpDecoders& decoders) {
  // The code page of the line's text: the first command letter tells which
  // element wrote it (a leading zero byte, the parallel port's test byte in
  // a capture, is skipped for that test).
  std::size_t first = 0;
  while (first < command.size() && command[first] == '\0') ++first;
  const char letter = first < command.size() ? command[first] : ' ';
  const CodePages* decoder = (letter == 'A' || letter == 'Y') ? decoders.oem : decoders.ansi;

  std::string out;
  std::size_t i = 0;
  while (i < command.size()) {
    const auto b = static_cast<unsigned char>(command[i]);
    if (b >= 0x80) {
      std::size_t end = i;
      while (end < command.size() && static_cast<unsigned char>(command[end]) >= 0x80) ++end;
      const std::string_view run = command.substr(i, end - i);
      if (decoder != nullptr) {
        out += toUtf8(decoder->fromAnsi(run));
      } else {
        for (char c : run) out += "\\x" + hex(static_cast<unsigned char>(c));
      }
      i = end;
      continue;
    }
    if (b < 0x20 || b == 0x7F) {
      out += controlName(b);
    } else {
      out += static_cast<char>(b);
    }
    ++i;
  }
  return out;
}

}  // namespace

std::string dumpCommandStream(std::string_view bytes, const DumpDecoders& decoders) {
  std::string out;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\r');
    if (end == std::string_view::npos) {
      out += showCommand(bytes, decoders) + "<no CR>\n";
      break;
    }
    out += showCommand(bytes.substr(0, end), decoders) + "\n";
    bytes.remove_prefix(end + 1);
  }
  return out;
}

}  // namespace tagwright::cli
