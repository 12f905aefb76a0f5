// Every rule of the check on small scripts, each with exactly the findings
// it must give: rule, line and column, and what the message must name.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "cli/app/exit_codes.h"
#include "check/check_rules.h"
#include "support/check_output.h"
#include "support/linked_program_fixture.h"

namespace tagwright::cli {
namespace {

struct Expected {
  const char* rule;
  int line;
  // The column is where this text starts in the line; empty: column 1.
  std::string at;
  // A piece the message must contain; empty: anything.
  std::string names;
};

struct Case {
  const char* title;
  std::string script;
  std::vector<Expected> findings;
};

const std::string kLongText(300, 'x');

// A small text element that fits the default 43 x 25 mm label.
const std::string kText = "PutText(10, 10, 1, 1, 1, 0, \"A\", \"Hi\")\n";

const std::vector<Case>& cases() {
  static const std::vector<Case> table = {
      {"a clean label",
       "LabelWidth = 58\nLabelHeight = 40\nStartLabel()\n"
       "PutText(20, 20, 1, 1, 1, 0, \"C\", \"Why? Tagwright\")\n"
       "PutBarcode(\"Q\", 40, 70, 80, 0, \"TW-000123\")\n"
       "PutRectangle(10, 10, 450, 300, 2, 2)\nPrint(1)\n",
       {}},
      {"values in range are stored as given",
       "Speed = 6\nDarkness = 19\nLabelTopMargin = -36\nGapLenght = 255\nStripper = 1\n"
       "BarcodeReadable = 0\n",
       {}},
      {"a ranged value out of range falls back to the default",
       "Speed = 9\n",
       {{"property-fallback", 1, "9", "stores its default, 2"}}},
      {"a switch stores 0 or 1",
       "BarcodeReadable = 2\n",
       {{"property-fallback", 1, "2", "stores 1"}}},
      {"IsEnabled ignores what it is given",
       "IsEnabled = 0\n",
       {{"property-fallback", 1, "0", "always reads 1"}}},
      {"a barcode height below 24 is written as 24",
       "StartLabel()\nPutBarcode(\"Q\", 30, 10, 10, 0, \"AB\")\nPrint(1)\n",
       {{"argument-clamped", 2, "10, 0", "height 10 is written as 24"}}},
      {"a text of 300 bytes is cut to 239, and then reaches past the edge",
       "StartLabel()\nPutText(10, 10, 1, 1, 1, 0, \"A\", \"" + kLongText + "\")\nPrint(1)\n",
       {{"element-past-edge", 2, "", "past the right edge"},
        {"argument-clamped", 2, "\"x", "300 bytes is cut to 239 bytes"}}},
      {"trailing blanks are trimmed",
       "StartLabel()\nPutText(10, 10, 1, 1, 1, 0, \"A\", \"Hi   \")\nPrint(1)\n",
       {{"argument-clamped", 2, "\"Hi", "loses its trailing blanks"}}},
      {"more copies than the printer takes",
       "StartLabel()\n" + kText + "Print(40000)\n",
       {{"argument-clamped", 3, "40000", "written as 32767"}}},
      {"a negative copy count prints nothing of the current label",
       "StartLabel()\n" + kText + "Print(-3)\n",
       {{"label-never-printed", 2, "", ""},
        {"empty-print", 3, "", "empty job"},
        {"argument-clamped", 3, "-3", "taken as 0"}}},
      {"a font that is not an upper-case letter",
       "StartLabel()\nPutText(10, 10, 1, 1, 1, 0, \"b\", \"Hi\")\nPrint(1)\n",
       {{"argument-clamped", 2, "\"b\"", "written as font A"}}},
      {"a barcode type whose variant digit the component drops",
       "StartLabel()\nPutBarcode(\"E2\", 30, 10, 60, 0, \"400638133393\")\nPrint(1)\n",
       {{"argument-clamped", 2, "\"E2\"", "written as E"}}},
      {"characters the code pages cannot represent",
       "StartLabel()\nPutText(10, 10, 1, 1, 1, 0, \"A\", \"«a»\")\n"
       "PutLoadedText(10, 40, 1, 1, 0, 0, \"A\", \"ok \xF0\x9F\x98\x80\")\nPrint(1)\n",
       {{"unrepresentable-character", 2, "\"\xC2\xAB", "CP866"},
        {"unrepresentable-character", 3, "\"ok", "CP1251"}}},
      {"barcode types the printer does not know, or none",
       "StartLabel()\nPutBarcode(\"W\", 10, 10, 60, 0, \"123\")\n"
       "PutBarcode(\"\", 10, 10, 60, 0, \"123\")\nPrint(1)\n",
       {{"barcode-type", 2, "\"W\"", "not a barcode"},
        {"barcode-type", 3, "\"\"", "writes no barcode"}}},
      {"barcode data its symbology cannot encode",
       "StartLabel()\nPutBarcode(\"E\", 10, 10, 60, 0, \"TW-1\")\n"
       "PutBarcode(\"A\", 10, 10, 60, 0, \"abc\")\n"
       "PutBarcode(\"N\", 10, 10, 60, 0, \"12345\")\n"
       "PutBarcode(\"E\", 10, 10, 60, 0, \"4006381333932\")\nPrint(1)\n",
       {{"barcode-data", 2, "\"TW-1\"", "letters"},
        {"barcode-data", 3, "\"abc\"", "Code 39"},
        {"barcode-data", 4, "\"12345\"", "Interleaved 2 of 5"},
        {"barcode-data", 5, "\"4006", "check digit"}}},
      {"PDF417 data that does not fit its rows, columns and level",
       "StartLabel()\nPutBarcodePDF417(10, 10, 2, 6, 3, 1, 8, \"" + std::string(200, 'A') +
           "\")\nPrint(1)\n",
       {{"pdf417-fit", 2, "\"AAA", "cannot hold"}}},
      {"quiet zones cut by the label's edge and by a box written after the barcode",
       "StartLabel()\nPutBarcode(\"E\", 10, 10, 40, 0, \"4006381333931\")\n"
       "PutBarcode(\"Q\", 300, 30, 40, 1, \"AB\")\nPutRectangle(200, 150, 340, 190, 2, 2)\n"
       "Print(1)\n",
       {{"barcode-quiet-zone", 2, "",
         "5 modules (10 dots) on its left, to the label's left edge; EAN-13 needs 11 modules (22 "
         "dots) before the bars and 7 modules (14 dots) after them"},
        {"barcode-quiet-zone", 3, "",
         "3 modules (6 dots) on its bottom, up to the box at line 4"}}},
      {"an element wholly outside the label",
       "StartLabel()\nPutRectangle(400, 10, 450, 50, 1, 1)\nPrint(1)\n",
       {{"element-outside-label", 2, "", "56 dots (7 mm) past its right edge"}}},
      {"a text turned clockwise lies left of its anchor",
       "StartLabel()\nPutText(10, 10, 1, 1, 1, 1, \"A\", \"Hello\")\nPrint(1)\n",
       {{"element-past-edge", 2, "", "7 dots (0.9 mm) past the left edge"}}},
      {"a barcode with its readable line past the bottom edge",
       "StartLabel()\nPutBarcode(\"Q\", 30, 150, 40, 0, \"AB\")\nPrint(1)\n",
       {{"element-past-edge", 2, "", "9 dots (1.1 mm) past the bottom edge"}}},
      {"a human-readable line wider than its bars",
       "BarcodeWidth = 1\nStartLabel()\nPutBarcode(\"Q\", 0, 10, 40, 0, \"1111111111111111\")\n"
       "Print(1)\n",
       {{"element-past-edge", 3, "", "human-readable line reaches 2 dots (0.2 mm) past the left"},
        {"barcode-quiet-zone", 3, "", "0 modules (0 dots) on its left"}}},
      {"the same bars without their line fit",
       "BarcodeWidth = 1\nBarcodeReadable = 0\nStartLabel()\n"
       "PutBarcode(\"Q\", 0, 10, 40, 0, \"1111111111111111\")\nPrint(1)\n",
       {{"barcode-quiet-zone", 4, "", "0 modules (0 dots) on its left"}}},
      {"an area past two edges",
       "StartLabel()\nInversRectangle(300, 150, 400, 250)\nPrint(1)\n",
       {{"element-past-edge", 2, "",
         "the area reaches 57 dots (7.1 mm) past the right edge and 51 dots (6.4 mm) past the "
         "bottom edge"}}},
      {"the frame drawn for an image with no local picture",
       "StartLabel()\nPutImage(320, 10, \"LOGO\")\nPrint(1)\n",
       {{"element-past-edge", 2, "", "the image frame reaches"}}},
      {"a PDF417 symbol past the right edge",
       "StartLabel()\nPutBarcodePDF417(300, 10, 2, 6, 3, 1, 0, \"AB\")\nPrint(1)\n",
       {{"element-past-edge", 2, "", "the PDF417 symbol reaches"}}},
      {"a downloaded-font text, drawn at font A's size",
       "StartLabel()\nPutLoadedText(10, 190, 1, 1, 0, 0, \"B\", \"Hi\")\nPrint(1)\n",
       {{"element-past-edge", 2, "", "7 dots (0.9 mm) past the bottom edge"}}},
      {"a barcode type that corrects the barcode width",
       "BarcodeWidth = 5\nStartLabel()\nPutBarcode(\"B\", 30, 10, 60, 0, \"1234567\")\n"
       "PutBarcode(\"B\", 30, 100, 60, 0, \"1234567\")\nPrint(1)\n",
       {{"barcode-width-changed", 3, "\"B\"", "from 5 to 2 dots"}}},
      {"an element before the first StartLabel",
       kText + "Print(1)\n",
       {{"element-before-start-label", 1, "", "before the first StartLabel"}}},
      {"a label never printed when the script ends",
       "StartLabel()\n" + kText,
       {{"label-never-printed", 2, "", "script ends"}}},
      {"a label discarded by the next StartLabel",
       "StartLabel()\n" + kText + "StartLabel()\n" + kText + "Print(1)\n",
       {{"label-never-printed", 2, "", "StartLabel at line 3"}}},
      {"labels collected and never sent",
       "StartLabel()\n" + kText + "PrintToBuff(1)\n",
       {{"buffer-never-sent", 3, "", "never sent"}}},
      {"collected labels sent by Print(0) are fine",
       "StartLabel()\n" + kText + "PrintToBuff(2)\nPrint(0)\n",
       {}},
      {"Print(0) with nothing collected", "Print(0)\n", {{"empty-print", 1, "", "empty job"}}},
      {"the stripper after the cutter",
       "Cutter = 3\nStripper = 1\n",
       {{"stripper-and-cutter", 2, "", "turns off the cutter that line 1 turned on"}}},
      {"the cutter after the stripper",
       "Stripper = 1\nCutter = 3\n",
       {{"stripper-and-cutter", 2, "", "only the cutter stays on"}}},
      {"the stripper turned off before the cutter goes on",
       "Stripper = 1\nStripper = 0\nCutter = 3\n",
       {}},
      {"settings the settings page cannot show",
       "Speed = 7\nDarkness = 20\nDarkness = 20\n",
       {{"settings-page-hidden", 1, "7", "speed 7"},
        {"settings-page-hidden", 3, "20", "darkness 20"}}},
      {"a wrong argument count stops the script before it runs",
       "Speed = 9\nPutText(1)\n",
       {{"script-error", 2, "", "takes 8 arguments, 1 given"}}},
      {"an unknown property", "Bogus = 1\n", {{"script-error", 1, "", "unknown property"}}},
      {"a text given to a property",
       "Speed = \"fast\"\n",
       {{"script-error", 1, "\"fast\"", "takes an integer"}}},
  };
  return table;
}

int columnOf(const std::string& script, int line, const std::string& at) {
  std::size_t start = 0;
  for (int i = 1; i < line; ++i) start = script.find('\n', start) + 1;
  const std::string text = script.substr(start, script.find('\n', start) - start);
  if (at.empty()) return 1;
  const std::size_t found = text.find(at);
  EXPECT_NE(found, std::string::npos) << "'" << at << "' is not in line " << line;
  // Columns count characters: count the UTF-8 lead bytes before it.
  int column = 1;
  for (std::size_t i = 0; i < found; ++i) {
    column += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 ? 1 : 0;
  }
  return column;
}

class CheckRules : public LinkedProgramTest {};

TEST_F(CheckRules, EveryCaseGivesExactlyItsFindingsInScriptOrder) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.title);
    put("case.tws", c.script);
    const int status = run({"check", "--profile", path("profile"), path("case.tws")});
    const auto lines = test_support::findingLines(out_.str());
    ASSERT_EQ(lines.size(), c.findings.size()) << out_.str() << err_.str();
    bool anyError = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const Expected& e = c.findings[i];
      EXPECT_EQ(lines[i].file, path("case.tws"));
      EXPECT_EQ(lines[i].rule, e.rule) << out_.str();
      EXPECT_EQ(lines[i].line, e.line) << out_.str();
      EXPECT_EQ(lines[i].column, columnOf(c.script, e.line, e.at)) << out_.str();
      EXPECT_NE(lines[i].message.find(e.names), std::string::npos) << lines[i].message;
      const bool error = checkRule(e.rule).severity == Severity::Error;
      EXPECT_EQ(lines[i].severity, error ? "error" : "warning");
      anyError = anyError || error;
    }
    EXPECT_EQ(status, anyError ? kExitScriptError : kExitOk) << out_.str() << err_.str();
  }
}

TEST_F(CheckRules, EveryRuleHasACaseThatFindsIt) {
  std::set<std::string> found;
  for (const Case& c : cases()) {
    for (const Expected& e : c.findings) found.insert(e.rule);
  }
  for (const CheckRule& r : checkRules()) EXPECT_TRUE(found.count(std::string(r.name))) << r.name;
}

TEST(CheckRuleDocs, DocsCheckMdExplainsEveryRuleWithAnExample) {
  std::ifstream file(std::string(TAGWRIGHT_SOURCE_DIR) + "/docs/check.md");
  const std::string docs((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(docs.empty());
  for (const CheckRule& r : checkRules()) {
    const std::string name(r.name);
    const std::string heading = "### `" + name + "`\n";
    const std::size_t at = docs.find(heading);
    ASSERT_NE(at, std::string::npos) << name;
    const std::size_t next = docs.find("\n### ", at + heading.size());
    const std::string section = docs.substr(at, next - at);
    EXPECT_NE(section.find("```"), std::string::npos) << name << " has no example";
    EXPECT_NE(section.find("Fix:"), std::string::npos) << name << " has no fix";
    const std::string severity = r.severity == Severity::Error ? "error" : "warning";
    EXPECT_NE(docs.find("[`" + name + "`](#" + name + ") | " + severity + " |"), std::string::npos)
        << name << " is not in the table as " << severity;
  }
}

}  // namespace
}  // namespace tagwright::cli
