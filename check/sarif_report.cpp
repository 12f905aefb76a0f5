#include <string>

#include "check/check_rules.h"
#include "check/report_formats.h"
#include "core/util/json_document.h"

namespace tagwright::cli {
namespace {

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

JsonDocument ruleDescriptor(const CheckRule& r) {
  return {{"id", r.name},
          {"shortDescription", {{"text", r.summary}}},
          {"defaultConfiguration", {{"level", severityName(r.severity)}}}};
}

JsonDocument result(const Finding& f) {
  const JsonDocument location = {
      {"physicalLocation",
       {{"artifactLocation", {{"uri", uriOf(f.file)}}},
        {"region", {{"startLine", f.position.line}, {"startColumn", f.position.column}}}}}};
  return {{"ruleId", f.rule},
          {"ruleIndex", ruleIndex(f.rule)},
          {"level", severityName(f.severity)},
          {"message", {{"text", f.message}}},
          {"locations", JsonDocument::array({location})}};
}

}  // namespace

void writeSarifReport(const CheckReport& report, std::string_view toolVersion, std::ostream& out) {
  JsonDocument rules = JsonDocument::array();
  for (const CheckRule& r : checkRules()) rules.push_back(ruleDescriptor(r));
  JsonDocument results = JsonDocument::array();
  for (const Finding& f : report.findings) results.push_back(result(f));
  const JsonDocument run = {
      {"tool",
       {{"driver",
         {{"name", "tagwright check"}, {"version", toolVersion}, {"rules", std::move(rules)}}}}},
      // Columns count characters (code points), as the script reader does.
      {"columnKind", "unicodeCodePoints"},
      {"results", std::move(results)}};
  const JsonDocument log = {{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
                            {"version", "2.1.0"},
                            {"runs", JsonDocument::array({run})}};
  out << jsonText(log, 2) << '\n';
}

}  // namespace tagwright::cli
