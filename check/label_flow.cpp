#include "check/label_flow.h"

#include <string>

#include "core/script/script_value.h"
#include "core/text/utf8.h"
#include "preview/job/command_stream.h"
#include "preview/job/fields.h"

namespace tagwright::cli {
namespace {

std::string lineOf(SourcePosition p) { return "line " + std::to_string(p.line); }

// The copy count of the first label in `labels` (its `^C` command).
std::optional<int> copiesWritten(std::string_view labels) {
  for (const preview::Command& command : preview::splitCommands(labels).commands) {
    if (command.line.starts_with("^C")) return preview::parseInteger(command.line.substr(2));
  }
  return std::nullopt;
}

}  // namespace

void LabelFlow::elementPlaced(const Statement& s, bool headerEmpty, FindingList& findings) {
  if (headerEmpty && !started_ && !toldBeforeStart_) {
    toldBeforeStart_ = true;
    findings.add(rule::kElementBeforeStartLabel, s.position,
                 toUtf8(s.name) +
                     " comes before the first StartLabel: the label has no set-up commands "
                     "(size, speed, darkness), so the printer uses whatever it had last");
  }
  if (!unprinted_) unprinted_ = s.position;
}

void LabelFlow::labelStarted(const Statement& s, FindingList& findings) {
  if (unprinted_) {
    findings.add(rule::kLabelNeverPrinted, *unprinted_,
                 "the label composed from here is never printed: " + toUtf8(s.name) + " at " +
                     lineOf(s.position) + " starts a new one");
  }
  unprinted_.reset();
  started_ = true;
}

void LabelFlow::labelCollected(const Statement& s, bool labelAdded) {
  if (!labelAdded) return;
  unprinted_.reset();
  if (!collected_) collected_ = s.position;
}

void LabelFlow::jobSent(const Statement& s, std::string_view job, std::size_t collectedBytes,
                        FindingList& findings) {
  const std::int32_t asked = s.values.empty() ? 0 : argumentAsNumber(s.values.front().value);
  const SourcePosition copiesAt = s.values.empty() ? s.position : s.values.front().position;
  const bool labelAdded = job.size() > collectedBytes;
  if (job.empty()) {
    findings.add(rule::kEmptyPrint, s.position,
                 toUtf8(s.name) + "(" + std::to_string(asked) +
                     ") with no label collected by PrintToBuff sends an empty job");
  } else if (labelAdded) {
    const std::optional<int> copies = copiesWritten(job.substr(collectedBytes));
    if (copies && *copies != asked) {
      findings.add(
          rule::kArgumentClamped, copiesAt,
          "the copies " + std::to_string(asked) + " are written as " + std::to_string(*copies));
    }
    unprinted_.reset();
  }
  if (!labelAdded && asked != 0) {
    findings.add(rule::kArgumentClamped, copiesAt,
                 "the copies " + std::to_string(asked) +
                     " are taken as 0: the label being composed is not printed, only what "
                     "PrintToBuff collected is sent");
  }
  collected_.reset();
}

void LabelFlow::ended(FindingList& findings) {
  if (unprinted_) {
    findings.add(rule::kLabelNeverPrinted, *unprinted_,
                 "the label composed from here is never printed: the script ends before a Print "
                 "or PrintToBuff");
  }
  if (collected_) {
    findings.add(rule::kBufferNeverSent, *collected_,
                 "the labels collected from here by PrintToBuff are never sent: the script ends "
                 "without a Print");
  }
}

}  // namespace tagwright::cli
