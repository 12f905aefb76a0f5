#include "cli/app/element_recorder.h"

#include "check/label_frame.h"
#include "check/written_element.h"
#include "core/transport/printer_port.h"

namespace tagwright::cli {
namespace {

std::string portOf(std::int32_t index) {
  const std::string name = portNameForIndex(index);
  return name.empty() ? std::string("USB") : name;
}

}  // namespace

void ElementRecorder::before(const PreparedScript& script, const PreparedStatement& statement) {
  check_.before(script, statement);
  bodyBefore_ = addIn_.label().bodyText().size();
  collectedBefore_ = addIn_.label().jobText().size();
  jobsBefore_ = jobsSeen_;
}

void ElementRecorder::after(const PreparedScript& script, const PreparedStatement& statement) {
  check_.after(script, statement);
  const Statement& s = statement.statement;
  if (s.kind != StatementKind::CallMethod) return;
  const auto method = static_cast<Method>(statement.number);
  switch (method) {
    case Method::StartLabel: ++serial_; return;
    case Method::PrintToBuff:
      if (addIn_.label().jobText().size() > collectedBefore_) collected_.push_back(serial_);
      return;
    case Method::Print:
      if (jobsSeen_ > jobsBefore_) {
        jobs_.push_back(Job{std::move(collected_), serial_, portOf(addIn_.settings().PrinterPort)});
        collected_.clear();
      }
      return;
    default: elementWritten(s, method); return;
  }
}

void ElementRecorder::elementWritten(const Statement& s, Method method) {
  const std::string& body = addIn_.label().bodyText();
  if (body.size() <= bodyBefore_) return;
  const ElementLayout* layout = elementLayout(method);
  if (!layout) return;
  std::string_view written = std::string_view(body).substr(bodyBefore_);
  if (!written.empty() && written.back() == '\r') written.remove_suffix(1);
  const std::optional<WrittenElement> element = readWrittenElement(*layout, written);
  if (!element) return;
  const LabelFrame frame = labelFrameOf(addIn_.label().headerText(), resources_.dotsPerMm);
  if (!frame.error.empty()) return;
  const std::optional<ElementExtent> extent =
      elementExtent(*element, frame.originX, frame.originY, resources_);
  if (!extent) return;
  elements_.push_back(Element{serial_, s.position, extent->box, extent->what});
}

}  // namespace tagwright::cli
