#include "virtual_printer/fault_script.h"

#include <gtest/gtest.h>

namespace tagwright::cli::printer {
namespace {

TEST(FaultScript, ReadsRules) {
  struct Case {
    const char* text;
    int after;
    StatusCode state;
  };
  const Case cases[] = {
      {"after 2 labels: media-empty", 2, StatusCode::MediaEmpty},
      {"after 1 label: head-open", 1, StatusCode::HeadOpen},
      {"after 0 labels: ribbon-empty", 0, StatusCode::RibbonEmpty},
      {"  after   15 labels :paused ", 15, StatusCode::Paused},
      {"after 3 labels: cutter-jam", 3, StatusCode::CutterJam},
  };
  for (const Case& c : cases) {
    Result<FaultRule> rule = parseFaultRule(c.text);
    ASSERT_TRUE(rule) << c.text << ": " << rule.error();
    EXPECT_EQ(rule.value(), (FaultRule{c.after, c.state})) << c.text;
  }
}

TEST(FaultScript, SaysWhatIsWrongWithARule) {
  struct Case {
    const char* text;
    const char* why;
  };
  const Case cases[] = {
      {"", "starts with \"after\""},
      {"before 2 labels: media-empty", "starts with \"after\""},
      {"after two labels: media-empty", "a number of labels"},
      {"after -1 labels: media-empty", "a number of labels"},
      {"after 2 jobs: media-empty", "\"labels\" follows"},
      {"after 2 labels media-empty", "a colon"},
      {"after 2 labels: out-of-paper", "unknown printer fault \"out-of-paper\""},
      {"after 2 labels: ready", "unknown printer fault \"ready\""},
      {"after 2 labels: printing", "unknown printer fault"},
      {"after 99999999999 labels: paused", "a number of labels"},
  };
  for (const Case& c : cases) {
    Result<FaultRule> rule = parseFaultRule(c.text);
    ASSERT_FALSE(rule) << c.text;
    EXPECT_NE(rule.error().find(c.why), std::string::npos) << rule.error();
    EXPECT_NE(rule.error().find("after 2 labels: media-empty"), std::string::npos);
  }
}

TEST(FaultScript, FixedStatesAreFaultsOnly) {
  EXPECT_EQ(parseFaultState("media-empty").value(), StatusCode::MediaEmpty);
  EXPECT_EQ(parseFaultState("head-too-hot").value(), StatusCode::HeadTooHot);
  for (const char* notAFault : {"ready", "printing", "data-in-process", "", "MEDIA-EMPTY"}) {
    EXPECT_FALSE(parseFaultState(notAFault)) << notAFault;
  }
}

TEST(FaultScript, ConnectionFaultsByName) {
  for (ConnectionFault fault : {ConnectionFault::Refuse, ConnectionFault::StopReading,
                                ConnectionFault::CloseMidJob, ConnectionFault::NeverClose}) {
    EXPECT_EQ(parseConnectionFault(connectionFaultName(fault)).value(), fault);
  }
  Result<ConnectionFault> wrong = parseConnectionFault("hang");
  ASSERT_FALSE(wrong);
  EXPECT_NE(wrong.error().find("refuse, stop-reading, close-mid-job or never-close"),
            std::string::npos);
}

}  // namespace
}  // namespace tagwright::cli::printer
