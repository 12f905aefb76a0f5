#include "preview/render/element_context.h"

#include <cmath>

#include "core/text/utf8.h"
#include "preview/assumptions.h"
#include "preview/job/fields.h"

namespace tagwright::preview {
namespace {

// Positions beyond this lie off every label (at most 12000 dots a side);
// refusing them keeps every sum in range.
constexpr int kPositionLimit = 1000000;

// Fonts A..H: one sans-serif typeface at these sizes, in points.
constexpr int kFontPoints[] = {6, 8, 10, 12, 14, 18, 24, 30};

}  // namespace

std::string printable(std::string_view bytes, std::size_t limit) {
  std::string text;
  for (const char c : bytes.substr(0, limit)) {
    const auto byte = static_cast<unsigned char>(c);
    text += byte < 0x20 || byte == 0x7F ? '.' : byte >= 0x80 ? '?' : c;
  }
  if (bytes.size() > limit) text += "...";
  return text;
}

void ElementContext::note(const std::string& text) const {
  notes.push_back({command.offset, quotedCommand() + ": " + text});
}

std::string ElementContext::quotedCommand() const {
  // Texts, names and data are shown in the code page they are written in.
  const char kind = command.line.front();
  const CodePage* page = kind == 'A' || kind == 'Y'                  ? resources.oem
                         : kind == 'V' || kind == 'B' || kind == 'P' ? resources.ansi
                                                                     : nullptr;
  if (page == nullptr) return "'" + printable(command.line) + "'";
  constexpr std::size_t kLimit = 40;
  std::u32string text = page->decode(command.line.substr(0, kLimit));
  for (char32_t& c : text) {
    if (c < 0x20 || c == 0x7F) c = U'.';
  }
  return "'" + toUtf8(text) + (command.line.size() > kLimit ? "...'" : "'");
}

std::optional<int> fieldIn(const ElementContext& element, std::string_view field, int low, int high,
                           std::string_view name) {
  const std::optional<int> value = parseInteger(field);
  if (!value || *value < low || *value > high) {
    element.note(std::string(name) + " '" + printable(field, 12) + "' is not a whole number from " +
                 std::to_string(low) + " to " + std::to_string(high));
    return std::nullopt;
  }
  return value;
}

std::optional<int> positionField(const ElementContext& element, std::string_view field,
                                 std::string_view name) {
  return fieldIn(element, field, -kPositionLimit, kPositionLimit, name);
}

std::optional<Rotation> rotationField(const ElementContext& element, std::string_view field) {
  Rotation rotation;
  if (!field.empty() && field.back() == 'I') {
    rotation.whiteOnBlack = true;
    field.remove_suffix(1);
  }
  const std::optional<int> code = fieldIn(element, field, 0, 3, "the rotation");
  if (!code) return std::nullopt;
  rotation.quarterTurns = assumptions::quarterTurnsClockwise(*code);
  if (*code != 0) {
    element.note("turned by " + std::to_string(*code * 90) +
                 " degrees clockwise about its anchor (assumed)");
  }
  return rotation;
}

int residentFontHeight(char font, int dotsPerMm) {
  const int dpi = dotsPerMm == 12 ? 300 : 203;
  const int index = font >= 'A' && font <= 'H' ? font - 'A' : 0;
  return static_cast<int>(std::lround(kFontPoints[index] * dpi / 72.0));
}

}  // namespace tagwright::preview
