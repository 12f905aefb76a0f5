#include "cli/app/check_command.h"

#include <algorithm>

#include "cli/app/dry_run.h"
#include "cli/app/version.h"
#include "check/check_rules.h"
#include "check/report_formats.h"

namespace tagwright::cli {
namespace {

bool hasScriptError(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.rule == rule::kScriptError; });
}

}  // namespace

ExitCode checkScripts(const CheckOptions& options, ComponentBackEnd& backEnd, CheckReport& report,
                      std::ostream& err) {
  ExitCode failure = kExitOk;
  std::ostream discarded(nullptr);  // "? Name" shows nothing while checking
  for (const std::string& script : options.scripts) {
    Result<std::unique_ptr<CheckWatch>> made = backEnd.makeCheckWatch(options.drawing);
    if (!made) {
      err << "tagwright: " << made.error() << '\n';
      return kExitUsage;
    }
    CheckWatch& watch = *made.value();
    bool watched = false;
    DryRunWatchers watchers{&watch, [&](ComponentSession& session) -> StatementObserver* {
                              watched = watch.attach(session.linkedComponent());
                              return watched ? &watch : nullptr;
                            }};
    const ExitCode code = dryRunScript({script, options.profile, options.drawing.pages}, backEnd,
                                       discarded, err, watchers);
    std::vector<Finding> findings = watch.finish();
    // A script that cannot be read or bound is a finding; anything else that
    // stops it was told on `err`, and the script counts as not checked.
    const bool checked =
        watched && (code == kExitOk || (code == kExitScriptError && hasScriptError(findings)));
    if (!checked) {
      if (!watched && code == kExitOk) {
        err << "tagwright: " << script << ": the component could not be watched\n";
      }
      if (failure == kExitOk) failure = code == kExitOk ? kExitUsage : code;
      continue;
    }
    ++report.scripts;
    for (Finding& f : findings) report.findings.push_back(std::move(f));
  }
  return failure;
}

int checkCommand(const CheckOptions& options, ComponentBackEnd& backEnd, std::ostream& out,
                 std::ostream& err) {
  CheckReport report;
  const ExitCode failure = checkScripts(options, backEnd, report, err);
  // Nothing checked at all: the message on `err` is the whole answer.
  if (failure != kExitOk && report.scripts == 0) return failure;
  switch (reportFormatNamed(options.format).value_or(ReportFormat::Text)) {
    case ReportFormat::Text: writeTextReport(report, out); break;
    case ReportFormat::Json: writeJsonReport(report, out); break;
    case ReportFormat::Sarif: writeSarifReport(report, kTagwrightVersion, out); break;
  }
  if (failure != kExitOk) return failure;
  return report.fails(options.strict) ? kExitScriptError : kExitOk;
}

ExitCode checkBeforeRun(const RunOptions& options, ComponentBackEnd& backEnd, std::ostream& err) {
  CheckOptions check;
  check.scripts = options.scripts;
  check.profile = options.profile;
  check.drawing = options.drawing;
  check.strict = options.strict;
  CheckReport report;
  const ExitCode failure = checkScripts(check, backEnd, report, err);
  if (!report.findings.empty()) writeTextReport(report, err);
  if (failure != kExitOk) return failure;
  if (report.fails(options.strict)) {
    err << "tagwright: the check found " << (options.strict ? "findings" : "errors")
        << ": nothing was run and nothing printed\n";
    return kExitScriptError;
  }
  return kExitOk;
}

}  // namespace tagwright::cli
