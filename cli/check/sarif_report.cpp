#include <string>

#include "cli/check/check_rules.h"
#include "cli/check/json_text.h"
#include "cli/check/report_formats.h"

namespace tagwright::cli {
namespace {

const char* level(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

// An artifact location as a relative URI reference: the path as given, with
// backslashes turned into slashes and the characters a URI does not allow
// percent-encoded.
std::string uriOf(const std::string& path) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string uri;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= '0' && byte <= '9') || c == '/' || c == '.' || c == '-' ||
                       c == '_' || c == '~';
    if (c == '\\') {
      uri += '/';
    } else if (plain) {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 15];
    }
  }
  return uri;
}

std::size_t ruleIndex(std::string_view name) {
  const auto rules = checkRules();
  for (std::size_t i = 0; i < rules.size(); ++i) {
    if (rules[i].name == name) return i;
  }
  return 0;
}

}  // namespace

void writeSarifReport(const CheckReport& report, std::string_view toolVersion, std::ostream& out) {
  out << "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
      << "  \"version\": \"2.1.0\",\n  \"runs\": [{\n    \"tool\": {\"driver\": {"
      << "\"name\": \"tagwright check\", \"version\": " << jsonString(toolVersion)
      << ", \"rules\": [";
  const char* separator = "\n";
  for (const CheckRule& r : checkRules()) {
    out << separator << "      {\"id\": " << jsonString(r.name)
        << ", \"shortDescription\": {\"text\": " << jsonString(r.summary)
        << "}, \"defaultConfiguration\": {\"level\": \"" << level(r.severity) << "\"}}";
    separator = ",\n";
  }
  // Columns count characters (code points), as the script reader does.
  out << "]}},\n    \"columnKind\": \"unicodeCodePoints\",\n    \"results\": [";
  separator = "\n";
  for (const Finding& f : report.findings) {
    out << separator << "      {\"ruleId\": " << jsonString(f.rule)
        << ", \"ruleIndex\": " << ruleIndex(f.rule) << ", \"level\": \"" << level(f.severity)
        << "\", \"message\": {\"text\": " << jsonString(f.message) << "}, \"locations\": ["
        << "{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " << jsonString(uriOf(f.file))
        << "}, \"region\": {\"startLine\": " << f.position.line
        << ", \"startColumn\": " << f.position.column << "}}}]}";
    separator = ",\n";
  }
  out << (report.findings.empty() ? "" : "\n    ") << "]\n  }]\n}\n";
}

}  // namespace tagwright::cli
