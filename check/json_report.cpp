#include "check/report_formats.h"
#include "core/util/json_document.h"

namespace tagwright::cli {

void writeJsonReport(const CheckReport& report, std::ostream& out) {
  JsonDocument findings = JsonDocument::array();
  for (const Finding& f : report.findings) {
    findings.push_back(JsonDocument{{"file", f.file},
                                    {"line", f.position.line},
                                    {"column", f.position.column},
                                    {"severity", severityName(f.severity)},
                                    {"rule", f.rule},
                                    {"message", f.message}});
  }
  const JsonDocument document = {{"findings", std::move(findings)},
                                 {"summary",
                                  {{"scripts", report.scripts},
                                   {"errors", report.count(Severity::Error)},
                                   {"warnings", report.count(Severity::Warning)}}}};
  out << jsonText(document, 2) << '\n';
}

}  // namespace tagwright::cli
