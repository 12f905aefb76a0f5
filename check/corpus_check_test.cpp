// The examples and the scenario corpus through the check: each with the
// findings it is meant to have, and why.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/check_output.h"
#include "support/linked_program_fixture.h"

namespace tagwright::cli {
namespace {

struct Meant {
  const char* rule;
  int line;
};

// examples/*.tws: a user copies these, so they check clean, except where a
// finding is the point of the example.
const std::map<std::string, std::vector<Meant>> kExamples = {
    {"first_label.tws", {}},
    {"batch.tws", {}},
    {"show_settings.tws", {}},
    // "e30" shows that the type's first letter is what counts: the
    // component writes E, and the check says so.
    {"price_tags_ru.tws", {{"argument-clamped", 12}}},
    // Written to show what the check finds: an out-of-range speed, «» that
    // code page 866 lacks, a wrong EAN-13 check digit, a frame past the
    // right edge.
    {"check_me.tws",
     {{"property-fallback", 8},
      {"unrepresentable-character", 11},
      {"barcode-data", 13},
      {"element-past-edge", 15}}},
};

// tests/scenarios/*.tws exercise the component's rules with their exact
// bytes, so several are written to reach its clamps and corrections: the
// check must find each of them.
const std::map<std::string, std::vector<Meant>> kScenarios = {
    // Its barcode starts close to the label's left edge, short of the quiet
    // zone a reader needs; the corpus keeps the bytes it was written with.
    {"batch_print_to_buff.tws", {{"barcode-quiet-zone", 12}}},
    // Speed 7 and darkness 20 are stored but the page's lists end at 6 and
    // 19; with the left margin of 16 dots the inverted area (10..450) ends
    // 3 dots past the 464-dot label; "N2" takes an odd digit count and the
    // data has ten digits.
    {"black_mark.tws",
     {{"settings-page-hidden", 12},
      {"settings-page-hidden", 13},
      {"element-past-edge", 17},
      {"barcode-data", 19}}},
    // The cutter after the stripper turns the stripper off; the barcode
    // is turned by 90 degrees, so it lies left of its anchor and runs down
    // past the bottom; its height of 10 is written as 24.
    {"continuous_tape.tws",
     {{"stripper-and-cutter", 8}, {"element-past-edge", 15}, {"argument-clamped", 15}}},
    // The barcode is as close to the edge as above; "e30" is written as E;
    // the image name's trailing blanks are trimmed.
    {"price_tag.tws",
     {{"barcode-quiet-zone", 17}, {"argument-clamped", 17}, {"argument-clamped", 18}}},
    // The font E text at double width and height is wider than the 100 mm
    // label; the last text's trailing blanks are trimmed.
    {"shipping_label.tws", {{"element-past-edge", 17}, {"argument-clamped", 23}}},
};

class CorpusCheck : public LinkedProgramTest {
 protected:
  void expectMeant(const std::string& folder,
                   const std::map<std::string, std::vector<Meant>>& meant) {
    std::size_t scripts = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() != ".tws") continue;
      ++scripts;
      const std::string name = entry.path().filename().string();
      SCOPED_TRACE(name);
      auto expected = meant.find(name);
      ASSERT_NE(expected, meant.end()) << "say which findings " << name << " is meant to have";
      run({"check", "--profile", path("profile"), entry.path().string()});
      const auto lines = test_support::findingLines(out_.str());
      ASSERT_EQ(lines.size(), expected->second.size()) << out_.str();
      for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rule, expected->second[i].rule) << out_.str();
        EXPECT_EQ(lines[i].line, expected->second[i].line) << out_.str();
      }
    }
    EXPECT_EQ(scripts, meant.size());
  }
};

TEST_F(CorpusCheck, TheExamplesHaveOnlyTheirMeantFindings) {
  expectMeant(std::string(TAGWRIGHT_SOURCE_DIR) + "/examples", kExamples);
}

TEST_F(CorpusCheck, TheScenariosHaveTheFindingsTheyAreWrittenFor) {
  expectMeant(std::string(TAGWRIGHT_SOURCE_DIR) + "/tests/scenarios", kScenarios);
}

}  // namespace
}  // namespace tagwright::cli
