#include "check/component_watch.h"

#include "check/argument_rules.h"
#include "check/edge_rules.h"
#include "check/element_extent.h"
#include "check/settings_page_rule.h"
#include "check/symbol_rules.h"
#include "check/written_element.h"

namespace tagwright::cli {

bool ComponentWatch::attach(const AddIn* linkedComponent) {
  addIn_ = linkedComponent;
  if (addIn_) settings_ = addIn_->settings();
  return addIn_ != nullptr;
}

bool ComponentWatch::refused(const ScriptFault& fault) {
  findings_.setFile(fault.file);
  findings_.add(rule::kScriptError, fault.error.position, fault.error.message);
  return true;  // a finding, not a run's error
}

void ComponentWatch::addJob(std::string_view job) {
  ++jobs_;
  lastJob_.assign(job);
}

void ComponentWatch::before(const PreparedScript& script, const PreparedStatement&) {
  findings_.setFile(script.file);
  const LabelComposer& label = addIn_->label();
  settingsBefore_ = addIn_->settings();
  bodyBefore_ = label.bodyText().size();
  collectedBefore_ = label.jobText().size();
  headerEmptyBefore_ = label.headerText().empty();
  jobsBefore_ = jobs_;
}

void ComponentWatch::after(const PreparedScript&, const PreparedStatement& prepared) {
  settings_ = addIn_->settings();
  const Statement& s = prepared.statement;
  switch (s.kind) {
    case StatementKind::SetProperty: propertySet(s, static_cast<Property>(prepared.number)); break;
    case StatementKind::CallMethod: methodCalled(s, static_cast<Method>(prepared.number)); break;
    case StatementKind::ShowProperty: break;
  }
}

void ComponentWatch::propertySet(const Statement& s, Property property) {
  checkPropertyWrite(s, property, settings_, findings_);
  switches_.propertyWritten(s, property, settingsBefore_, settings_, findings_);
  lastWritten_[property] = s.values.front().position;
}

void ComponentWatch::methodCalled(const Statement& s, Method method) {
  switch (method) {
    case Method::StartLabel:
      quietZones_.labelEnded(findings_);
      flow_.labelStarted(s, findings_);
      return;
    case Method::PrintToBuff:
      quietZones_.labelEnded(findings_);
      flow_.labelCollected(s, addIn_->label().jobText().size() > collectedBefore_);
      return;
    case Method::Print:
      quietZones_.labelEnded(findings_);
      if (jobs_ > jobsBefore_) flow_.jobSent(s, lastJob_, collectedBefore_, findings_);
      return;
    default: elementWritten(s, method); return;
  }
}

void ComponentWatch::elementWritten(const Statement& s, Method method) {
  if (method == Method::PutBarcode) checkBarcodeWidth(s, settingsBefore_, settings_, findings_);
  const std::string& body = addIn_->label().bodyText();
  const std::string_view written =
      body.size() > bodyBefore_ ? std::string_view(body).substr(bodyBefore_) : std::string_view();
  if (written.empty()) {
    if (method == Method::PutBarcode) {
      findings_.add(rule::kBarcodeType, s.values.front().position,
                    "an empty barcode type: the component writes no barcode");
    }
    return;
  }
  flow_.elementPlaced(s, headerEmptyBefore_, findings_);
  const ElementLayout* layout = elementLayout(method);
  if (!layout) return;
  const std::optional<WrittenElement> element = readWrittenElement(*layout, written);
  if (!element) return;
  checkWrittenArguments(s, *element, resources_.componentPages, findings_);
  checkRepresentable(s, *element, resources_, findings_);
  checkSymbol(s, *element, resources_, findings_);
  const LabelFrame& frame = frameOfCurrentLabel();
  if (!frame.error.empty()) return;
  const std::optional<ElementExtent> extent =
      elementExtent(*element, frame.originX, frame.originY, resources_);
  if (!extent) return;
  checkPlacement(s, *extent, frame, resources_.dotsPerMm, findings_);
  quietZones_.elementPlaced(s, *element, *extent, frame);
}

const LabelFrame& ComponentWatch::frameOfCurrentLabel() {
  const std::string& header = addIn_->label().headerText();
  if (!frameHeader_ || *frameHeader_ != header) {
    frameHeader_ = header;
    frame_ = labelFrameOf(header, resources_.dotsPerMm);
  }
  return frame_;
}

std::vector<Finding> ComponentWatch::finish() {
  quietZones_.labelEnded(findings_);
  flow_.ended(findings_);
  checkSettingsPage(settings_, lastWritten_, findings_);
  std::vector<Finding> findings = findings_.take();
  sortByPosition(findings);
  return findings;
}

}  // namespace tagwright::cli
