#include "cli/app/check_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/check_output.h"
#include "support/linked_program_fixture.h"

namespace tagwright::cli {
namespace {

using test_support::findingLines;

const std::string kWarningOnly = "Speed = 9\n";  // property-fallback, a warning
const std::string kClean = "StartLabel()\nPutText(10, 10, 1, 1, 1, 0, \"A\", \"Hi\")\nPrint(1)\n";
const std::string kError =
    "StartLabel()\nPutBarcode(\"E\", 10, 10, 60, 0, \"TW-1\")\nPrint(1)\n";  // barcode-data

class CheckCommand : public LinkedProgramTest {
 protected:
  int check(std::vector<std::string> args) {
    args.insert(args.begin(), {"check", "--profile", path("profile")});
    return run(args);
  }
};

TEST_F(CheckCommand, ExitStatusTellsWhetherTheCheckFailed) {
  put("clean.tws", kClean);
  put("warn.tws", kWarningOnly);
  put("error.tws", kError);
  struct Case {
    const char* script;
    bool strict;
    int status;
    const char* summary;
  };
  for (const Case& c : {Case{"clean.tws", false, kExitOk, "no findings in 1 script"},
                        Case{"clean.tws", true, kExitOk, "no findings in 1 script"},
                        Case{"warn.tws", false, kExitOk, "0 errors and 1 warning in 1 script"},
                        Case{"warn.tws", true, kExitScriptError, "0 errors and 1 warning"},
                        Case{"error.tws", false, kExitScriptError, "1 error and 0 warnings"}}) {
    SCOPED_TRACE(std::string(c.script) + (c.strict ? " --strict" : ""));
    std::vector<std::string> args;
    if (c.strict) args.push_back("--strict");
    args.push_back(path(c.script));
    EXPECT_EQ(check(args), c.status) << out_.str() << err_.str();
    EXPECT_NE(out_.str().find(c.summary), std::string::npos) << out_.str();
    EXPECT_EQ(err_.str(), "");
  }
}

TEST_F(CheckCommand, SendsNothingAndLeavesTheStoredSettingsAlone) {
  put("profile", "[Printer Tagwright]\nPrinterSpeed = 1\n");
  const std::string before = content("profile");
  put("label.tws", "Speed = 6\n" + kClean);
  ASSERT_EQ(check({"--output", path("jobs.prn"), path("label.tws")}), kExitOk) << err_.str();
  EXPECT_EQ(content("profile"), before);
  EXPECT_FALSE(std::filesystem::exists(path("jobs.prn")));
}

TEST_F(CheckCommand, ChecksWithTheStoredSettingsAndTheResolution) {
  // A box to x 399: inside 58 mm at 203 dpi (464 dots), outside 43 mm
  // (344 dots), inside 43 mm at 300 dpi (516 dots).
  put("box.tws", "StartLabel()\nPutRectangle(10, 10, 399, 100, 1, 1)\nPrint(1)\n");
  put("profile", "[Printer Tagwright]\nLabelWidth = 58\n");
  EXPECT_EQ(check({path("box.tws")}), kExitOk);
  EXPECT_TRUE(findingLines(out_.str()).empty()) << out_.str();
  put("profile", "[Printer Tagwright]\nLabelWidth = 43\n");
  EXPECT_EQ(check({path("box.tws")}), kExitOk);
  ASSERT_EQ(findingLines(out_.str()).size(), 1u) << out_.str();
  EXPECT_EQ(findingLines(out_.str())[0].rule, "element-past-edge");
  EXPECT_NE(out_.str().find("56 dots (7 mm) past the right edge"), std::string::npos);
  EXPECT_EQ(check({"--dpi", "300", path("box.tws")}), kExitOk);
  EXPECT_TRUE(findingLines(out_.str()).empty()) << out_.str();
}

TEST_F(CheckCommand, TheCodePagesAreTheOnesTheOptionsName) {
  // '«' and '»' are in CP1251 but not in CP866; PutText writes OEM text.
  put("quotes.tws",
      "StartLabel()\nPutText(10, 10, 1, 1, 1, 0, \"A\", \"\xC2\xAB"
      "a\xC2\xBB\")\nPrint(1)\n");
  EXPECT_EQ(check({path("quotes.tws")}), kExitOk);
  ASSERT_EQ(findingLines(out_.str()).size(), 1u) << out_.str();
  EXPECT_NE(findingLines(out_.str())[0].message.find("code page CP866"), std::string::npos);
  EXPECT_EQ(check({"--oem", "CP1251", path("quotes.tws")}), kExitOk);
  EXPECT_TRUE(findingLines(out_.str()).empty()) << out_.str();
  EXPECT_EQ(check({"--oem", "KOI8-R", path("quotes.tws")}), kExitOk);
  ASSERT_EQ(findingLines(out_.str()).size(), 1u) << out_.str();
  EXPECT_NE(findingLines(out_.str())[0].message.find("code page KOI8-R"), std::string::npos);
}

TEST_F(CheckCommand, EachScriptOnItsOwnInTheOrderGiven) {
  // Alone, the second script prints a label it did not start: each script
  // is checked from a fresh component.
  put("one.tws", kError);
  put("two.tws", "PutText(10, 10, 1, 1, 1, 0, \"A\", \"Hi\")\nPrint(1)\n");
  EXPECT_EQ(check({path("one.tws"), path("two.tws")}), kExitScriptError);
  const auto lines = findingLines(out_.str());
  ASSERT_EQ(lines.size(), 2u) << out_.str();
  EXPECT_EQ(lines[0].file, path("one.tws"));
  EXPECT_EQ(lines[0].rule, "barcode-data");
  EXPECT_EQ(lines[1].file, path("two.tws"));
  EXPECT_EQ(lines[1].rule, "element-before-start-label");
  EXPECT_NE(out_.str().find("in 2 scripts"), std::string::npos);
}

TEST_F(CheckCommand, AMissingScriptIsToldAndTheOthersAreStillChecked) {
  put("warn.tws", kWarningOnly);
  EXPECT_EQ(check({path("missing.tws"), path("warn.tws")}), kExitScriptError);
  EXPECT_NE(err_.str().find("missing.tws: no such script file"), std::string::npos) << err_.str();
  EXPECT_EQ(findingLines(out_.str()).size(), 1u);
  EXPECT_NE(out_.str().find("in 1 script"), std::string::npos) << out_.str();
}

TEST_F(CheckCommand, NothingCheckedShowsNoReport) {
  EXPECT_EQ(check({path("missing.tws")}), kExitScriptError);
  EXPECT_EQ(out_.str(), "");
  EXPECT_NE(err_.str().find("no such script file"), std::string::npos) << err_.str();
}

TEST_F(CheckCommand, JsonTellsWhatTheTextTells) {
  put("error.tws", kError + kWarningOnly);
  ASSERT_EQ(check({path("error.tws")}), kExitScriptError);
  const auto lines = findingLines(out_.str());
  ASSERT_EQ(check({"--format", "json", path("error.tws")}), kExitScriptError);
  const auto json = nlohmann::json::parse(out_.str(), nullptr, false);
  ASSERT_FALSE(json.is_discarded()) << out_.str();
  const auto& findings = json.at("findings");
  ASSERT_EQ(findings.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(findings[i].at("rule"), lines[i].rule);
    EXPECT_EQ(findings[i].at("line"), lines[i].line);
    EXPECT_EQ(findings[i].at("column"), lines[i].column);
    EXPECT_EQ(findings[i].at("message"), lines[i].message);
  }
  ASSERT_EQ(check({"--format", "sarif", path("error.tws")}), kExitScriptError);
  const auto sarif = nlohmann::json::parse(out_.str(), nullptr, false);
  ASSERT_FALSE(sarif.is_discarded()) << out_.str();
  EXPECT_EQ(sarif.at("runs").at(0).at("results").size(), lines.size());
}

TEST_F(CheckCommand, RunCheckPrintsNothingWhenTheCheckFindsErrors) {
  put("error.tws", kError);
  EXPECT_EQ(run({"run", "--check", "--profile", path("profile"), "--output", path("jobs.prn"),
                 path("error.tws")}),
            kExitScriptError);
  EXPECT_FALSE(std::filesystem::exists(path("jobs.prn")));
  EXPECT_EQ(findingLines(err_.str()).size(), 1u) << err_.str();
  EXPECT_NE(err_.str().find("nothing was run and nothing printed"), std::string::npos);
  EXPECT_EQ(out_.str(), "");
}

TEST_F(CheckCommand, RunCheckGoesOnAfterWarningsUnlessStrict) {
  put("warn.tws", kWarningOnly + kClean);
  ASSERT_EQ(run({"run", "--check", "--profile", path("profile"), "--output", path("jobs.prn"),
                 path("warn.tws")}),
            kExitOk)
      << err_.str();
  EXPECT_NE(content("jobs.prn").find("AA,10,10,1,1,1,0,Hi\r"), std::string::npos);
  EXPECT_EQ(findingLines(err_.str()).size(), 1u) << err_.str();
  std::filesystem::remove(path("jobs.prn"));
  EXPECT_EQ(run({"run", "--check", "--strict", "--profile", path("profile"), "--output",
                 path("jobs.prn"), path("warn.tws")}),
            kExitScriptError);
  EXPECT_FALSE(std::filesystem::exists(path("jobs.prn")));
}

TEST_F(CheckCommand, RunCheckOfACleanScriptSaysNothingAndRuns) {
  put("clean.tws", kClean);
  ASSERT_EQ(run({"run", "--check", "--profile", path("profile"), "--output", path("jobs.prn"),
                 path("clean.tws")}),
            kExitOk);
  EXPECT_EQ(err_.str(), "");
  EXPECT_FALSE(content("jobs.prn").empty());
}

TEST_F(CheckCommand, OptionsThatDoNotBelong) {
  put("clean.tws", kClean);
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  for (const Case& c : {
           Case{{"check"}, "check needs at least one script file"},
           Case{{"check", "--format", "xml", path("clean.tws")},
                "--format takes text, json or sarif"},
           Case{{"run", "--format", "json", path("clean.tws")}, "--format belongs to check"},
           Case{{"check", "--check", path("clean.tws")}, "--check belongs to run"},
           Case{{"run", "--strict", path("clean.tws")}, "--strict belongs to check"},
           Case{{"run", "--check", "-"}, "give a file, not standard input"},
       }) {
    EXPECT_EQ(run(c.args), kExitUsage);
    EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
  }
}

}  // namespace
}  // namespace tagwright::cli
