#include "check/report_formats.h"

namespace tagwright::cli {
namespace {

std::string counted(int n, const char* what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

}  // namespace

std::optional<ReportFormat> reportFormatNamed(std::string_view name) {
  if (name == "text") return ReportFormat::Text;
  if (name == "json") return ReportFormat::Json;
  if (name == "sarif") return ReportFormat::Sarif;
  return std::nullopt;
}

std::string summaryLine(const CheckReport& report) {
  const int errors = report.count(Severity::Error);
  const int warnings = report.count(Severity::Warning);
  const std::string scripts = counted(report.scripts, "script");
  if (errors == 0 && warnings == 0) return "no findings in " + scripts;
  return counted(errors, "error") + " and " + counted(warnings, "warning") + " in " + scripts;
}

void writeTextReport(const CheckReport& report, std::ostream& out) {
  for (const Finding& f : report.findings) {
    out << f.file << ':' << f.position.line << ':' << f.position.column << ": "
        << severityName(f.severity) << ": " << f.message << " [" << f.rule << "]\n";
  }
  out << summaryLine(report) << '\n';
}

}  // namespace tagwright::cli
