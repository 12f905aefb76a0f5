#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "check/finding_list.h"
#include "script/script_reader.h"

namespace tagwright::cli {

// Follows the labels of a script from StartLabel to the printer: elements
// placed before the first StartLabel, labels composed and never printed,
// labels collected by PrintToBuff and never sent, a Print that sends an
// empty job, and a Print whose copy count is not the one written.
class LabelFlow {
 public:
  // An element call; `headerEmpty`: no StartLabel has written the label's
  // set-up commands yet.
  void elementPlaced(const Statement& statement, bool headerEmpty, FindingList& findings);
  // StartLabel, which empties the label being composed.
  void labelStarted(const Statement& statement, FindingList& findings);
  // PrintToBuff; `labelAdded`: the component collected the label.
  void labelCollected(const Statement& statement, bool labelAdded);
  // Print and the job it handed out; the first `collectedBytes` of it are
  // the labels collected before.
  void jobSent(const Statement& statement, std::string_view job, std::size_t collectedBytes,
               FindingList& findings);
  // The end of the script.
  void ended(FindingList& findings);

 private:
  bool started_ = false;
  bool toldBeforeStart_ = false;
  std::optional<SourcePosition> unprinted_;  // the first element of a label not printed yet
  std::optional<SourcePosition> collected_;  // the first PrintToBuff whose labels wait
};

}  // namespace tagwright::cli
