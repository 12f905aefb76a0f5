#include "cli/check/json_text.h"
#include "cli/check/report_formats.h"

namespace tagwright::cli {

void writeJsonReport(const CheckReport& report, std::ostream& out) {
  out << "{\n  \"findings\": [";
  const char* separator = "\n";
  for (const Finding& f : report.findings) {
    out << separator << "    {\"file\": " << jsonString(f.file) << ", \"line\": " << f.position.line
        << ", \"column\": " << f.position.column << ", \"severity\": \""
        << (f.severity == Severity::Error ? "error" : "warning")
        << "\", \"rule\": " << jsonString(f.rule) << ", \"message\": " << jsonString(f.message)
        << "}";
    separator = ",\n";
  }
  out << (report.findings.empty() ? "" : "\n  ") << "],\n";
  out << "  \"summary\": {\"scripts\": " << report.scripts
      << ", \"errors\": " << report.count(Severity::Error)
      << ", \"warnings\": " << report.count(Severity::Warning) << "}\n}\n";
}

}  // namespace tagwright::cli
