#include "preview/state/printer_setup.h"

#include <string>
#include <string_view>

#include "preview/job/fields.h"

namespace tagwright::preview {
namespace {

using Notes = std::vector<PreviewNote>;

std::string quoted(std::string_view line) {
  std::string text = "'";
  for (const char c : line.substr(0, 40)) {
    const auto byte = static_cast<unsigned char>(c);
    text += byte < 0x20 || byte == 0x7F ? '.' : byte >= 0x80 ? '?' : c;
  }
  if (line.size() > 40) text += "...";
  return text + "'";
}

void malformed(const Command& command, std::string_view what, Notes& notes) {
  notes.push_back({command.offset, quoted(command.line) + ": " + std::string(what) + "; ignored"});
}

// A number in a range; a note and nothing otherwise.
std::optional<int> integerIn(std::string_view field, int low, int high, const Command& command,
                             std::string_view name, Notes& notes) {
  const std::optional<int> value = parseInteger(field);
  if (!value || *value < low || *value > high) {
    malformed(command,
              std::string(name) + " must be a whole number from " + std::to_string(low) + " to " +
                  std::to_string(high),
              notes);
    return std::nullopt;
  }
  return value;
}

std::optional<double> lengthIn(std::string_view field, const Command& command,
                               std::string_view name, Notes& notes) {
  const std::optional<double> value = parseMillimetres(field);
  if (!value || *value <= 0) {
    malformed(command, std::string(name) + " must be a positive number of millimetres", notes);
    return std::nullopt;
  }
  return value;
}

// `^Q L,G` (gaps), `^Q L,0,F` (continuous), `^Q L,M,P+` / `^Q L,M,P-`
// (black marks): only L changes the picture, the rest is checked.
void applyMediaLength(PrinterSetup& setup, const Command& command, std::string_view arguments,
                      Notes& notes) {
  const std::vector<std::string_view> fields = splitFields(arguments, 4);
  if (fields.size() < 2 || fields.size() > 3) {
    malformed(command, "the media form is L,G or L,0,F or L,M,P+ or L,M,P-", notes);
    return;
  }
  const std::optional<double> length = lengthIn(fields[0], command, "the label length", notes);
  if (!length) return;
  const std::optional<double> second = parseMillimetres(fields[1]);
  if (!second) {
    malformed(command, "the gap or mark length must be a number of millimetres", notes);
    return;
  }
  if (fields.size() == 3) {
    std::string_view third = fields[2];
    const bool blackMark = !third.empty() && (third.back() == '+' || third.back() == '-');
    if (blackMark) third.remove_suffix(1);
    if (!blackMark && *second != 0) {
      malformed(command, "three fields are L,0,F (continuous) or L,M,P+/- (black mark)", notes);
      return;
    }
    if (!parseMillimetres(third)) {
      malformed(command, "the feed or mark offset must be a number of millimetres", notes);
      return;
    }
  }
  setup.lengthMm = *length;
}

}  // namespace

void applySetupCommand(PrinterSetup& setup, const Command& command, Notes& notes) {
  const std::string_view line = command.line;
  const auto argumentsAfter = [&](std::size_t length) { return line.substr(length); };
  if (line.starts_with("^Q")) {
    applyMediaLength(setup, command, argumentsAfter(2), notes);
  } else if (line.starts_with("^W")) {
    if (auto width = lengthIn(argumentsAfter(2), command, "the label width", notes)) {
      setup.widthMm = *width;
    }
  } else if (line.starts_with("^R")) {
    if (auto margin = integerIn(argumentsAfter(2), 0, 100000, command, "the left margin", notes)) {
      setup.leftMarginDots = *margin;
      setup.leftMarginOffset = command.offset;
    }
  } else if (line.starts_with("~Q")) {
    if (auto offset =
            integerIn(argumentsAfter(2), -100000, 100000, command, "the vertical offset", notes)) {
      setup.verticalOffsetDots = *offset;
      setup.verticalOffsetOffset = command.offset;
    }
  } else if (line.starts_with("~R")) {
    if (auto value = integerIn(argumentsAfter(2), 0, 100000, command, "~R", notes)) {
      setup.turnValueMm = *value;
      setup.turnOffset = command.offset;
    }
  } else if (line.starts_with("^C")) {
    if (auto copies =
            integerIn(argumentsAfter(2), -1000000, 1000000, command, "the copy count", notes)) {
      setup.copies = assumptions::copiesPrinted(*copies);
      if (*copies < 1) {
        notes.push_back({command.offset, quoted(line) + ": a copy count below 1; assumed to print "
                                                        "the label once"});
      }
    }
  } else if (line.starts_with("^P")) {
    if (auto sets = integerIn(argumentsAfter(2), 1, 1000000, command, "the label sets", notes)) {
      setup.labelSets = *sets;
    }
  } else if (line.starts_with("^S")) {
    integerIn(argumentsAfter(2), 1, 30, command, "the print speed", notes);
  } else if (line.starts_with("^H")) {
    integerIn(argumentsAfter(2), 0, 19, command, "the darkness", notes);
  } else if (line.starts_with("^O")) {
    integerIn(argumentsAfter(2), 0, 1, command, "the stripper setting", notes);
  } else if (line.starts_with("^D")) {
    integerIn(argumentsAfter(2), 0, 100000, command, "the cut interval", notes);
  } else if (line.starts_with("^E")) {
    integerIn(argumentsAfter(2), 0, 100000, command, "the stop position", notes);
  } else if (line == "^AT" || line == "^AD") {
    // Ribbon or direct thermal: nothing on the picture changes.
  } else if (line.starts_with("^XSET,CODEPAGE,")) {
    integerIn(argumentsAfter(15), 0, 1000, command, "the code page number", notes);
  } else if (line.starts_with("^XSET,IMMEDIATE,")) {
    integerIn(argumentsAfter(16), 0, 1, command, "the immediate reply setting", notes);
  } else if (line == "~S,CHECK" || line == "~S,STATUS") {
    // Status queries: answered by a printer, nothing to draw.
  } else {
    notes.push_back({command.offset, quoted(line) + ": a set-up command the preview does not "
                                                    "know; ignored (the printer ignores unknown "
                                                    "commands too)"});
  }
}

}  // namespace tagwright::preview
