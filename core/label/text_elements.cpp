#include <algorithm>

#include "core/label/argument_reader.h"
#include "core/label/command_line.h"
#include "core/label/label_composer.h"

namespace tagwright {
namespace {

// Longest text of a text element: texts of 240 bytes or more keep 239.
constexpr std::size_t kTextCutFrom = 240;
constexpr std::size_t kTextKeep = 239;

char fontLetter(const std::string& font) {
  if (font.empty() || font[0] < 'A' || font[0] > 'Z') return 'A';
  return font[0];
}

}  // namespace

void LabelComposer::putTextLine(const ScriptArgs& args, char command, std::int32_t minimumGap,
                                bool toOem) {
  ArgumentReader in(args, codePages_);
  const std::int32_t x = std::max(in.number(), 0);
  const std::int32_t y = std::max(in.number(), 0);
  const std::int32_t horizontalScale = std::clamp(in.number(), 1, 10);
  const std::int32_t verticalScale = std::clamp(in.number(), 1, 10);
  const std::int32_t gap = std::max(in.number(), minimumGap);
  const std::int32_t rotation = std::clamp(in.number(), 0, 3);
  const char font = fontLetter(in.text());
  std::string text = in.text();
  cutWhenLong(text, kTextCutFrom, kTextKeep);
  trimTrailingBlanks(text);
  if (text.empty()) text.assign(1, ' ');

  std::string line = formatLine("%c%c,%d,%d,%d,%d,%d,%d,%s%c", command, font, x, y, horizontalScale,
                                verticalScale, gap, rotation, text.c_str(), kCommandEnd);
  BodyText += toOem ? codePages_.ansiToOem(line) : line;
}

void LabelComposer::putText(const ScriptArgs& args) { putTextLine(args, 'A', 1, true); }

void LabelComposer::putLoadedText(const ScriptArgs& args) { putTextLine(args, 'V', 0, false); }

void LabelComposer::putRectangle(const ScriptArgs& args) {
  ArgumentReader in(args, codePages_);
  const std::int32_t x1 = std::max(in.number(), 0);
  const std::int32_t y1 = std::max(in.number(), 0);
  const std::int32_t x2 = std::max(in.number(), 0);
  const std::int32_t y2 = std::max(in.number(), 0);
  const std::int32_t horizontalThickness = std::max(in.number(), 1);
  const std::int32_t verticalThickness = std::max(in.number(), 1);
  appendLine(BodyText, "R%d,%d,%d,%d,%d,%d%c", x1, y1, x2, y2, horizontalThickness,
             verticalThickness, kCommandEnd);
}

void LabelComposer::inversRectangle(const ScriptArgs& args) {
  ArgumentReader in(args, codePages_);
  const std::int32_t x = std::max(in.number(), 0);
  const std::int32_t y = std::max(in.number(), 0);
  const std::int32_t a = std::max(in.number(), 0);
  const std::int32_t b = std::max(in.number(), 0);
  appendLine(BodyText, "Lo,%d,%d,%d,%d%c", x, y, a, b, kCommandEnd);
}

void LabelComposer::putImage(const ScriptArgs& args) {
  ArgumentReader in(args, codePages_);
  const std::int32_t x = std::max(in.number(), 0);
  const std::int32_t y = std::max(in.number(), 0);
  std::string name = in.text();
  trimTrailingBlanks(name);
  BodyText += codePages_.ansiToOem(formatLine("Y%d,%d,%s%c", x, y, name.c_str(), kCommandEnd));
}

}  // namespace tagwright
