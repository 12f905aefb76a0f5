#include "cli/check/report_formats.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/check/check_rules.h"
#include "support/json_value.h"

namespace tagwright::cli {
namespace {

using test_support::JsonParser;
using test_support::JsonValue;
using Kind = JsonValue::Kind;

CheckReport sampleReport() {
  CheckReport report;
  report.scripts = 2;
  report.findings = {
      {"labels/a.tws", {3, 9}, Severity::Warning, "property-fallback", "Speed = 9 is outside 2..7"},
      {"labels/ц b.tws",
       {7, 12},
       Severity::Error,
       "barcode-data",
       "EAN-13 takes digits; \"TW\\1\" has\tletters \xC2\xAB\xC2\xBB"},
  };
  return report;
}

template <typename Write>
std::string written(Write write) {
  std::ostringstream out;
  write(out);
  return out.str();
}

TEST(TextReport, OneLineAFindingThenTheSummary) {
  const std::string text = written([](std::ostream& o) { writeTextReport(sampleReport(), o); });
  EXPECT_EQ(text,
            "labels/a.tws:3:9: warning: Speed = 9 is outside 2..7 [property-fallback]\n"
            "labels/ц b.tws:7:12: error: EAN-13 takes digits; \"TW\\1\" has\tletters «» "
            "[barcode-data]\n"
            "1 error and 1 warning in 2 scripts\n");
}

TEST(TextReport, SummaryCountsInTheirNumber) {
  CheckReport report;
  report.scripts = 1;
  EXPECT_EQ(summaryLine(report), "no findings in 1 script");
  report.findings.assign(3, Finding{"f", {1, 1}, Severity::Error, "barcode-data", "m"});
  report.scripts = 3;
  EXPECT_EQ(summaryLine(report), "3 errors and 0 warnings in 3 scripts");
}

TEST(CheckReportVerdict, ErrorsFailAndWarningsOnlyWhenStrict) {
  CheckReport report;
  EXPECT_FALSE(report.fails(false));
  EXPECT_FALSE(report.fails(true));
  report.findings.push_back({"f", {1, 1}, Severity::Warning, "empty-print", "m"});
  EXPECT_FALSE(report.fails(false));
  EXPECT_TRUE(report.fails(true));
  report.findings.push_back({"f", {2, 1}, Severity::Error, "barcode-data", "m"});
  EXPECT_TRUE(report.fails(false));
}

TEST(JsonParserOfTheTests, RefusesWhatIsNotJson) {
  for (const char* bad :
       {"", "{", "{\"a\":}", "[1,]", "{\"a\" 1}", "\"tab\tin\"", "{} x", "{\"a\":1,\"a\":2}"}) {
    EXPECT_FALSE(JsonParser::parse(bad)) << bad;
  }
  EXPECT_TRUE(JsonParser::parse("{\"a\": [1, -2.5e3, true, null, \"\\u00ab\"]}"));
}

TEST(JsonReport, ParsesBackToTheFindingsAndCounts) {
  const CheckReport report = sampleReport();
  const std::string text = written([&](std::ostream& o) { writeJsonReport(report, o); });
  const std::optional<JsonValue> json = JsonParser::parse(text);
  ASSERT_TRUE(json) << text;
  const JsonValue& findings = (*json)["findings"];
  ASSERT_EQ(findings.kind, Kind::Array);
  ASSERT_EQ(findings.array.size(), report.findings.size());
  for (std::size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& f = report.findings[i];
    const JsonValue& j = findings.array[i];
    EXPECT_EQ(j["file"].string, f.file);
    EXPECT_EQ(j["line"].number, f.position.line);
    EXPECT_EQ(j["column"].number, f.position.column);
    EXPECT_EQ(j["severity"].string, f.severity == Severity::Error ? "error" : "warning");
    EXPECT_EQ(j["rule"].string, f.rule);
    EXPECT_EQ(j["message"].string, f.message);
  }
  EXPECT_EQ((*json)["summary"]["scripts"].number, 2);
  EXPECT_EQ((*json)["summary"]["errors"].number, 1);
  EXPECT_EQ((*json)["summary"]["warnings"].number, 1);
}

TEST(JsonReport, NoFindingsIsAnEmptyList) {
  CheckReport report;
  report.scripts = 4;
  const std::optional<JsonValue> json =
      JsonParser::parse(written([&](std::ostream& o) { writeJsonReport(report, o); }));
  ASSERT_TRUE(json);
  EXPECT_EQ((*json)["findings"].kind, Kind::Array);
  EXPECT_TRUE((*json)["findings"].array.empty());
  EXPECT_EQ((*json)["summary"]["scripts"].number, 4);
}

// The fields the SARIF 2.1.0 schema requires (log: version and runs; run:
// tool with driver.name; result: message.text; reportingDescriptor: id),
// and what code-review tools need to show a result in place.
void expectSarifShape(const JsonValue& log, const CheckReport& report) {
  ASSERT_EQ(log.kind, Kind::Object);
  EXPECT_EQ(log["version"].string, "2.1.0");
  EXPECT_NE(log["$schema"].string.find("sarif-2.1.0"), std::string::npos);
  ASSERT_EQ(log["runs"].kind, Kind::Array);
  ASSERT_EQ(log["runs"].array.size(), 1u);
  const JsonValue& run = log["runs"].array[0];
  const JsonValue& driver = run["tool"]["driver"];
  EXPECT_FALSE(driver["name"].string.empty());
  ASSERT_EQ(driver["rules"].kind, Kind::Array);
  ASSERT_EQ(driver["rules"].array.size(), checkRules().size());
  for (std::size_t i = 0; i < checkRules().size(); ++i) {
    const JsonValue& r = driver["rules"].array[i];
    EXPECT_EQ(r["id"].string, checkRules()[i].name);
    EXPECT_FALSE(r["shortDescription"]["text"].string.empty());
    const std::string level = r["defaultConfiguration"]["level"].string;
    EXPECT_TRUE(level == "error" || level == "warning") << level;
  }
  ASSERT_EQ(run["results"].kind, Kind::Array);
  ASSERT_EQ(run["results"].array.size(), report.findings.size());
  for (std::size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& f = report.findings[i];
    const JsonValue& result = run["results"].array[i];
    EXPECT_EQ(result["ruleId"].string, f.rule);
    const auto index = static_cast<std::size_t>(result["ruleIndex"].number);
    ASSERT_LT(index, checkRules().size());
    EXPECT_EQ(checkRules()[index].name, f.rule);
    EXPECT_EQ(result["level"].string, f.severity == Severity::Error ? "error" : "warning");
    EXPECT_EQ(result["message"]["text"].string, f.message);
    const JsonValue& location = result["locations"].array.at(0)["physicalLocation"];
    EXPECT_FALSE(location["artifactLocation"]["uri"].string.empty());
    EXPECT_EQ(location["region"]["startLine"].number, f.position.line);
    EXPECT_EQ(location["region"]["startColumn"].number, f.position.column);
  }
}

TEST(SarifReport, HasTheRequiredFieldsOfSarif210) {
  const CheckReport report = sampleReport();
  const std::string text = written([&](std::ostream& o) { writeSarifReport(report, "1.2.3", o); });
  const std::optional<JsonValue> log = JsonParser::parse(text);
  ASSERT_TRUE(log) << text;
  expectSarifShape(*log, report);
  EXPECT_EQ((*log)["runs"].array[0]["tool"]["driver"]["version"].string, "1.2.3");
  EXPECT_EQ((*log)["runs"].array[0]["columnKind"].string, "unicodeCodePoints");
}

TEST(SarifReport, FileNamesBecomeRelativeUriReferences) {
  const CheckReport report = sampleReport();
  const std::optional<JsonValue> log =
      JsonParser::parse(written([&](std::ostream& o) { writeSarifReport(report, "1", o); }));
  ASSERT_TRUE(log);
  auto uri = [&](std::size_t i) {
    return (*log)["runs"]
        .array[0]["results"]
        .array[i]["locations"]
        .array[0]["physicalLocation"]["artifactLocation"]["uri"]
        .string;
  };
  EXPECT_EQ(uri(0), "labels/a.tws");
  EXPECT_EQ(uri(1), "labels/%D1%86%20b.tws");
}

TEST(SarifReport, NoFindingsIsAValidLogWithNoResults) {
  CheckReport report;
  const std::optional<JsonValue> log =
      JsonParser::parse(written([&](std::ostream& o) { writeSarifReport(report, "1", o); }));
  ASSERT_TRUE(log);
  expectSarifShape(*log, report);
}

TEST(ReportFormatNames, TheThreeAndNothingElse) {
  EXPECT_EQ(reportFormatNamed("text"), ReportFormat::Text);
  EXPECT_EQ(reportFormatNamed("json"), ReportFormat::Json);
  EXPECT_EQ(reportFormatNamed("sarif"), ReportFormat::Sarif);
  EXPECT_FALSE(reportFormatNamed("SARIF"));
  EXPECT_FALSE(reportFormatNamed(""));
}

}  // namespace
}  // namespace tagwright::cli
