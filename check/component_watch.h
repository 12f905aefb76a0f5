#pragma once

#include <map>
#include <optional>
#include <string>

#include "check/check_resources.h"
#include "check/check_watch.h"
#include "check/finding_list.h"
#include "check/label_flow.h"
#include "check/label_frame.h"
#include "check/property_rules.h"
#include "check/quiet_zone_rule.h"
#include "core/addin/add_in.h"

namespace tagwright::cli {

// The check of one script through the component linked in: before and
// after each statement it reads the component's state (the settings, the
// label's command lines, the collected labels, the jobs handed out) and
// hands what changed to the rules. It never changes the component.
class ComponentWatch final : public CheckWatch {
 public:
  explicit ComponentWatch(CheckResources& resources) : resources_(resources) {}

  bool attach(const AddIn* linkedComponent) override;
  bool refused(const ScriptFault& fault) override;
  void before(const PreparedScript& script, const PreparedStatement& statement) override;
  void after(const PreparedScript& script, const PreparedStatement& statement) override;
  void addJob(std::string_view job) override;
  std::vector<Finding> finish() override;

 private:
  void propertySet(const Statement& statement, Property property);
  void methodCalled(const Statement& statement, Method method);
  void elementWritten(const Statement& statement, Method method);
  const LabelFrame& frameOfCurrentLabel();

  CheckResources& resources_;
  const AddIn* addIn_ = nullptr;
  FindingList findings_;

  // The component as it was just before the statement being taken.
  PrinterSettings settingsBefore_;
  std::size_t bodyBefore_ = 0;
  std::size_t collectedBefore_ = 0;
  bool headerEmptyBefore_ = true;
  std::size_t jobsBefore_ = 0;

  // What lasts over the script.
  PrinterSettings settings_;  // as the last statement left them
  std::size_t jobs_ = 0;
  std::string lastJob_;
  LabelFlow flow_;
  QuietZoneRule quietZones_;
  StripperAndCutter switches_;
  std::map<Property, SourcePosition> lastWritten_;
  std::optional<std::string> frameHeader_;
  LabelFrame frame_;
};

}  // namespace tagwright::cli
