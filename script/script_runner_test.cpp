#include "script/script_runner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/host/linked_script_host.h"
#include "core/addin/add_in.h"
#include "platform/posix/iconv_code_pages.h"
#include "support/fakes.h"

namespace tagwright::cli {
namespace {

class ScriptRunnerTest : public ::testing::Test {
 protected:
  ScriptRunnerTest() : addIn_(AddInServices{codePages_, jobs_, abort_}), host_(addIn_, &profile_) {
    EXPECT_EQ(host_.start(), HostResult::Ok);
  }

  // Prepares and runs; returns the first message, or "" when all ran.
  std::string run(std::vector<ScriptSource> sources) {
    PrepareResult prepared = prepareScripts(sources, host_);
    if (!prepared) return prepared.error().message();
    const Status ran = runPreparedScripts(prepared.value(), host_, shown_);
    return ran ? std::string() : ran.error();
  }

  IconvCodePages codePages_;
  testing::RecordingJobRunner jobs_;
  PrintAbortState abort_;
  testing::MemoryProfile profile_;
  AddIn addIn_;
  LinkedScriptHost host_;
  std::ostringstream shown_;
};

TEST_F(ScriptRunnerTest, RunsEnglishAndRussianStatementsAndShowsValues) {
  const std::string message = run({{"label.tws",
                                    "ШиринаЭтикетки = 58\n"
                                    "Speed = 9\n"
                                    "НоваяЭтикетка()\n"
                                    "PutRectangle(10, 10, 200, 100, 0, -2)\n"
                                    "? LabelWidth\n"
                                    "? Скорость\n"
                                    "Печатать(2)\n"}});
  ASSERT_EQ(message, "");
  EXPECT_EQ(shown_.str(), "LabelWidth = 58\nСкорость = 2\n");
  const auto jobs = jobs_.jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_NE(jobs[0].text.find("^W58\r"), std::string::npos);
  EXPECT_NE(jobs[0].text.find("^C2\r^L\rR10,10,200,100,1,1\rE\r"), std::string::npos);
}

TEST_F(ScriptRunnerTest, PrintToBuffIsCalledAsAFunctionAndCollects) {
  ASSERT_EQ(run({{"a", "StartLabel()\nPrintToBuff(2)\nPrintToBuff(0)\n"}}), "");
  EXPECT_TRUE(jobs_.jobs().empty());
  ASSERT_EQ(run({{"b", "Print(1)\n"}}), "");
  ASSERT_EQ(jobs_.jobs().size(), 1u);
  const std::string text = jobs_.jobs()[0].text;
  EXPECT_NE(text.find("^C2\r"), std::string::npos);
  EXPECT_NE(text.find("^C0\r"), std::string::npos);
  EXPECT_NE(text.find("^C1\r"), std::string::npos);
}

struct BindingFault {
  const char* script;
  const char* message;
};

class ScriptRunnerFaults : public ScriptRunnerTest,
                           public ::testing::WithParamInterface<BindingFault> {};

// Every fault stops the run before the first call: the Print on line 1
// must never reach the printer, and the settings stay as they were.
TEST_P(ScriptRunnerFaults, StopBeforeAnythingRuns) {
  const BindingFault& f = GetParam();
  const PrinterSettings before = addIn_.settings();
  const std::string message =
      run({{"first.tws", "LabelHeight = 77\nStartLabel()\nPrint(1)\n"}, {"second.tws", f.script}});
  EXPECT_EQ(message, f.message);
  EXPECT_TRUE(jobs_.jobs().empty());
  EXPECT_EQ(addIn_.settings(), before);
  EXPECT_EQ(shown_.str(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptRunnerFaults,
    ::testing::Values(
        BindingFault{"Print(1)\nFoo(1)\n", "second.tws:2:1: unknown method 'Foo'"},
        BindingFault{"startlabel()\n", "second.tws:1:1: unknown method 'startlabel'"},
        BindingFault{"? Colour\n", "second.tws:1:3: unknown property 'Colour'"},
        BindingFault{"Darkness(3)\n",
                     "second.tws:1:1: 'Darkness' is a property: write Darkness = value"},
        BindingFault{"StartLabel = 1\n",
                     "second.tws:1:1: 'StartLabel' is a method: call it as StartLabel(...)"},
        BindingFault{"? Print\n", "second.tws:1:3: 'Print' is a method: call it as Print(...)"},
        BindingFault{"Print()\n", "second.tws:1:1: 'Print' takes 1 argument, 0 given"},
        BindingFault{"  PutText(1, 2)\n", "second.tws:1:3: 'PutText' takes 8 arguments, 2 given"},
        BindingFault{"StartLabel(1)\n", "second.tws:1:1: 'StartLabel' takes 0 arguments, 1 given"},
        BindingFault{"Яркость = \"7\"\n",
                     "second.tws:1:11: property 'Яркость' takes an integer, not a text"},
        BindingFault{"Speed = 4\nSpeed = \n",
                     "second.tws:2:9: expected a value (an integer or a "
                     "quoted text), found the end of the line"}));

// A component that refuses or fails one kind of call, to see that the run
// stops there with the statement's place.
class RefusingHost final : public ScriptHost {
 public:
  RefusingHost(ScriptHost& inner, HostResult setResult) : inner_(inner), setResult_(setResult) {}
  HostResult start() override { return inner_.start(); }
  HostResult finish() override { return inner_.finish(); }
  std::int32_t propertyCount() override { return inner_.propertyCount(); }
  std::int32_t methodCount() override { return inner_.methodCount(); }
  std::optional<std::int32_t> findProperty(std::u16string_view n) override {
    return inner_.findProperty(n);
  }
  std::optional<std::int32_t> findMethod(std::u16string_view n) override {
    return inner_.findMethod(n);
  }
  std::u16string propertyName(std::int32_t n, std::int32_t a) override {
    return inner_.propertyName(n, a);
  }
  std::u16string methodName(std::int32_t n, std::int32_t a) override {
    return inner_.methodName(n, a);
  }
  std::optional<std::int32_t> paramCount(std::int32_t m) override { return inner_.paramCount(m); }
  std::optional<bool> hasReturnValue(std::int32_t m) override { return inner_.hasReturnValue(m); }
  HostResult getProperty(std::int32_t n, ScriptValue& v) override {
    return inner_.getProperty(n, v);
  }
  HostResult setProperty(std::int32_t, const ScriptValue&) override { return setResult_; }
  HostResult callAsProc(std::int32_t m, const ScriptArgs& a) override {
    return inner_.callAsProc(m, a);
  }
  HostResult callAsFunc(std::int32_t m, ScriptValue& r, const ScriptArgs& a) override {
    return inner_.callAsFunc(m, r, a);
  }

 private:
  ScriptHost& inner_;
  HostResult setResult_;
};

TEST_F(ScriptRunnerTest, ARefusedOrFailedCallStopsTheRunAtItsStatement) {
  for (HostResult r : {HostResult::Refused, HostResult::Failed}) {
    RefusingHost refusing(host_, r);
    std::ostringstream shown;
    PrepareResult prepared =
        prepareScripts({{"s.tws", "StartLabel()\n  Darkness = 3\nPrint(1)\n"}}, refusing);
    ASSERT_TRUE(prepared.ok());
    const Status ran = runPreparedScripts(prepared.value(), refusing, shown);
    ASSERT_FALSE(ran.ok());
    EXPECT_EQ(ran.error(), std::string("s.tws:2:3: the component ") +
                               (r == HostResult::Refused ? "refused" : "failed") +
                               " the value of 'Darkness'");
  }
  EXPECT_TRUE(jobs_.jobs().empty());
}

}  // namespace
}  // namespace tagwright::cli
