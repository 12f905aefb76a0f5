#include <string>

#include "preview/assumptions.h"
#include "preview/job/fields.h"
#include "preview/render/elements.h"
#include "preview/render/text_drawing.h"

namespace tagwright::preview {
namespace {

// The fields shared by `A` and `V`.
struct TextCommand {
  char font = 'A';
  int x = 0;
  int y = 0;
  int horizontalMagnification = 1;
  int verticalMagnification = 1;
  int gap = 0;
  Rotation rotation;
  std::string_view text;
};

std::optional<int> magnificationField(const ElementContext& element, std::string_view field,
                                      std::string_view name) {
  const std::optional<int> value = parseInteger(field);
  if (value && *value > assumptions::kMaxMagnification) {
    element.note(std::string(name) + " " + std::to_string(*value) + " is more than " +
                 std::to_string(assumptions::kMaxMagnification) + ": drawn at " +
                 std::to_string(assumptions::kMaxMagnification) + " (assumed)");
    return assumptions::kMaxMagnification;
  }
  return fieldIn(element, field, 1, assumptions::kMaxMagnification, name);
}

std::optional<TextCommand> readTextCommand(const ElementContext& element) {
  const std::vector<std::string_view> fields = splitFields(element.command.line.substr(1), 8);
  if (fields.size() < 8) {
    element.note("a text needs 8 fields (font,x,y,hm,vm,gap,rotation,text); not drawn");
    return std::nullopt;
  }
  TextCommand text;
  text.font = fields[0].size() == 1 ? fields[0][0] : '\0';
  const auto x = positionField(element, fields[1], "x");
  const auto y = positionField(element, fields[2], "y");
  const auto hm = magnificationField(element, fields[3], "the horizontal magnification");
  const auto vm = magnificationField(element, fields[4], "the vertical magnification");
  const auto gap = fieldIn(element, fields[5], 0, 1000, "the gap");
  const auto rotation = rotationField(element, fields[6]);
  if (!x || !y || !hm || !vm || !gap || !rotation) {
    element.note("not drawn");
    return std::nullopt;
  }
  text.x = *x;
  text.y = *y;
  text.horizontalMagnification = *hm;
  text.verticalMagnification = *vm;
  text.gap = *gap;
  text.rotation = *rotation;
  text.text = fields[7];
  return text;
}

void drawTextCommand(const ElementContext& element, const TextCommand& command,
                     const CodePage& page, TextStyle style) {
  FontFace* font = element.resources.font;
  if (font == nullptr) {
    element.note("text not drawn: " + element.resources.fontError);
    return;
  }
  style.horizontalMagnification = command.horizontalMagnification;
  style.verticalMagnification = command.verticalMagnification;
  style.gap = command.gap;
  style.whiteOnBlack = command.rotation.whiteOnBlack;
  const std::u32string text = page.decode(command.text);
  drawText(element.label, element.placementAt(command.x, command.y, command.rotation.quarterTurns),
           *font, text, style);
}

}  // namespace

void drawResidentText(const ElementContext& element) {
  const std::optional<TextCommand> command = readTextCommand(element);
  if (!command) return;
  char font = command->font;
  if (font < 'A' || font > 'I') {
    element.note("font '" + printable(std::string_view(&font, font == '\0' ? 0 : 1)) +
                 "' is not a resident font: drawn as font " +
                 std::string(1, assumptions::kUnknownFontDrawnAs) + " (assumed)");
    font = assumptions::kUnknownFontDrawnAs;
  }
  TextStyle style;
  if (font == 'I') {
    style.lineHeight = assumptions::kFixedCellHeight;
    style.fixedCellWidth = assumptions::kFixedCellWidth;
    element.note(
        "font I: each character drawn in the sans-serif face, centred in its 16 x 26 "
        "dot cell (assumed)");
  } else {
    style.lineHeight = residentFontHeight(font, element.resources.dotsPerMm);
  }
  drawTextCommand(element, *command, *element.resources.oem, style);
}

void drawDownloadedText(const ElementContext& element) {
  const std::optional<TextCommand> command = readTextCommand(element);
  if (!command) return;
  element.note("downloaded font '" + printable(std::string_view(&command->font, 1)) +
               "' is not in the stream: drawn in the fallback font at font A's size");
  TextStyle style;
  style.lineHeight = residentFontHeight('A', element.resources.dotsPerMm);
  drawTextCommand(element, *command, *element.resources.ansi, style);
}

}  // namespace tagwright::preview
