#include "check/report_formats.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "check/check_rules.h"

namespace tagwright::cli {
namespace {

using nlohmann::json;

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

// The text as JSON; a discarded value when it is not well-formed JSON (or
// not valid UTF-8).
json parsed(const std::string& text) { return json::parse(text, nullptr, false); }

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

TEST(JsonReport, ParsesBackToTheFindingsAndCounts) {
  const CheckReport report = sampleReport();
  const std::string text = written([&](std::ostream& o) { writeJsonReport(report, o); });
  const json document = parsed(text);
  ASSERT_FALSE(document.is_discarded()) << text;
  const json& findings = document.at("findings");
  ASSERT_TRUE(findings.is_array());
  ASSERT_EQ(findings.size(), report.findings.size());
  for (std::size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& f = report.findings[i];
    const json& j = findings[i];
    EXPECT_EQ(j.at("file"), f.file);
    EXPECT_EQ(j.at("line"), f.position.line);
    EXPECT_EQ(j.at("column"), f.position.column);
    EXPECT_EQ(j.at("severity"), f.severity == Severity::Error ? "error" : "warning");
    EXPECT_EQ(j.at("rule"), f.rule);
    EXPECT_EQ(j.at("message"), f.message);
  }
  EXPECT_EQ(document.at("summary").at("scripts"), 2);
  EXPECT_EQ(document.at("summary").at("errors"), 1);
  EXPECT_EQ(document.at("summary").at("warnings"), 1);
}

TEST(JsonReport, NoFindingsIsAnEmptyList) {
  CheckReport report;
  report.scripts = 4;
  const json document = parsed(written([&](std::ostream& o) { writeJsonReport(report, o); }));
  ASSERT_FALSE(document.is_discarded());
  EXPECT_TRUE(document.at("findings").is_array());
  EXPECT_TRUE(document.at("findings").empty());
  EXPECT_EQ(document.at("summary").at("scripts"), 4);
}

// The fields the SARIF 2.1.0 schema requires (log: version and runs; run:
// tool with driver.name; result: message.text; reportingDescriptor: id),
// and what code-review tools need to show a result in place.
void expectSarifShape(const json& log, const CheckReport& report) {
  ASSERT_TRUE(log.is_object());
  EXPECT_EQ(log.at("version"), "2.1.0");
  EXPECT_NE(log.at("$schema").get<std::string>().find("sarif-2.1.0"), std::string::npos);
  ASSERT_TRUE(log.at("runs").is_array());
  ASSERT_EQ(log.at("runs").size(), 1u);
  const json& run = log.at("runs")[0];
  const json& driver = run.at("tool").at("driver");
  EXPECT_FALSE(driver.at("name").get<std::string>().empty());
  ASSERT_TRUE(driver.at("rules").is_array());
  ASSERT_EQ(driver.at("rules").size(), checkRules().size());
  for (std::size_t i = 0; i < checkRules().size(); ++i) {
    const json& r = driver.at("rules")[i];
    EXPECT_EQ(r.at("id"), checkRules()[i].name);
    EXPECT_FALSE(r.at("shortDescription").at("text").get<std::string>().empty());
    const std::string level = r.at("defaultConfiguration").at("level");
    EXPECT_TRUE(level == "error" || level == "warning") << level;
  }
  ASSERT_TRUE(run.at("results").is_array());
  ASSERT_EQ(run.at("results").size(), report.findings.size());
  for (std::size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& f = report.findings[i];
    const json& result = run.at("results")[i];
    EXPECT_EQ(result.at("ruleId"), f.rule);
    const auto index = result.at("ruleIndex").get<std::size_t>();
    ASSERT_LT(index, checkRules().size());
    EXPECT_EQ(checkRules()[index].name, f.rule);
    EXPECT_EQ(result.at("level"), f.severity == Severity::Error ? "error" : "warning");
    EXPECT_EQ(result.at("message").at("text"), f.message);
    const json& location = result.at("locations").at(0).at("physicalLocation");
    EXPECT_FALSE(location.at("artifactLocation").at("uri").get<std::string>().empty());
    EXPECT_EQ(location.at("region").at("startLine"), f.position.line);
    EXPECT_EQ(location.at("region").at("startColumn"), f.position.column);
  }
}

TEST(SarifReport, HasTheRequiredFieldsOfSarif210) {
  const CheckReport report = sampleReport();
  const std::string text = written([&](std::ostream& o) { writeSarifReport(report, "1.2.3", o); });
  const json log = parsed(text);
  ASSERT_FALSE(log.is_discarded()) << text;
  expectSarifShape(log, report);
  EXPECT_EQ(log.at("runs")[0].at("tool").at("driver").at("version"), "1.2.3");
  EXPECT_EQ(log.at("runs")[0].at("columnKind"), "unicodeCodePoints");
}

TEST(SarifReport, FileNamesBecomeRelativeUriReferences) {
  const CheckReport report = sampleReport();
  const json log = parsed(written([&](std::ostream& o) { writeSarifReport(report, "1", o); }));
  ASSERT_FALSE(log.is_discarded());
  auto uri = [&](std::size_t i) {
    return log.at("runs")[0]
        .at("results")[i]
        .at("locations")[0]
        .at("physicalLocation")
        .at("artifactLocation")
        .at("uri");
  };
  EXPECT_EQ(uri(0), "labels/a.tws");
  EXPECT_EQ(uri(1), "labels/%D1%86%20b.tws");
}

TEST(SarifReport, NoFindingsIsAValidLogWithNoResults) {
  CheckReport report;
  const json log = parsed(written([&](std::ostream& o) { writeSarifReport(report, "1", o); }));
  ASSERT_FALSE(log.is_discarded());
  expectSarifShape(log, report);
}

// A file name or a message that is not valid UTF-8 (a script in another
// encoding) must neither stop the report nor make it invalid JSON: the bad
// bytes become U+FFFD.
TEST(JsonAndSarifReports, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  CheckReport report;
  report.scripts = 1;
  report.findings = {{"bad\xFF.tws", {1, 1}, Severity::Error, "script-error", "cut \xD1 here"}};
  struct Case {
    const char* format;
    void (*write)(const CheckReport&, std::ostream&);
    json (*message)(const json&);
  };
  const Case cases[] = {
      {"json", [](const CheckReport& r, std::ostream& o) { writeJsonReport(r, o); },
       [](const json& j) { return j.at("findings")[0].at("message"); }},
      {"sarif", [](const CheckReport& r, std::ostream& o) { writeSarifReport(r, "1", o); },
       [](const json& j) { return j.at("runs")[0].at("results")[0].at("message").at("text"); }},
  };
  for (const Case& c : cases) {
    std::string text;
    ASSERT_NO_THROW(text = written([&](std::ostream& o) { c.write(report, o); })) << c.format;
    const json document = parsed(text);
    ASSERT_FALSE(document.is_discarded()) << c.format << ": " << text;
    EXPECT_EQ(c.message(document), "cut \xEF\xBF\xBD here") << c.format;
  }
  const json document = parsed(written([&](std::ostream& o) { writeJsonReport(report, o); }));
  EXPECT_EQ(document.at("findings")[0].at("file"), "bad\xEF\xBF\xBD.tws");
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
