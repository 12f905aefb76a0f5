#include "core/label/command_line.h"
#include "core/label/label_composer.h"

namespace tagwright {

void LabelComposer::finishLabel(std::int32_t copies) {
  JobText += HeaderText;
  appendLine(JobText, "^C%d%c", copies, kCommandEnd);
  appendLine(JobText, "^L%c", kCommandEnd);
  JobText += BodyText;
  appendLine(JobText, "E%c", kCommandEnd);
}

std::string LabelComposer::takeJobText() {
  std::string text = std::move(JobText);
  JobText.clear();
  return text;
}

void LabelComposer::resetForInit() {
  JobText.clear();
  BodyText.clear();
}

}  // namespace tagwright
