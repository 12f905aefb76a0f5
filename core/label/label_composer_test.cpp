#include "support/add_in_fixture.h"

namespace tagwright {
namespace {

using testing::AddInTest;
using testing::I;
using testing::T;
using testing::visible;

class LabelComposerTest : public AddInTest {
 protected:
  void SetUp() override {
    set(Property::Speed, 4);
    set(Property::Darkness, 10);
    set(Property::Termotransfer, 1);
    call(Method::StartLabel);
    call(Method::PutRectangle, {I(1), I(2), I(3), I(4), I(5), I(6)});
    header = addIn.label().headerText();
    body = addIn.label().bodyText();
  }
  std::string label(int copies) {
    return header + "^C" + std::to_string(copies) + "\r^L\r" + body + "E\r";
  }
  std::string header, body;
};

TEST_F(LabelComposerTest, PrintToBuffCollectsWithoutSending) {
  EXPECT_EQ(callFunc(Method::PrintToBuff, {I(2)}), I(1));
  EXPECT_EQ(addIn.label().jobText(), label(2));
  EXPECT_TRUE(runner.jobs().empty());
  EXPECT_EQ(addIn.label().headerText(), header);
  EXPECT_EQ(addIn.label().bodyText(), body);
}

TEST_F(LabelComposerTest, PrintToBuffUsesTheCountUnclamped) {
  callFunc(Method::PrintToBuff, {I(0)});
  callFunc(Method::PrintToBuff, {I(-3)});
  callFunc(Method::PrintToBuff, {I(100000)});
  EXPECT_EQ(addIn.label().jobText(), label(0) + label(-3) + label(100000));
}

TEST_F(LabelComposerTest, PrintSendsCollectedLabelsThenTheCurrentOne) {
  set(Property::NumberPort, 5);
  callFunc(Method::PrintToBuff, {I(2)});
  EXPECT_EQ(callFunc(Method::Print, {I(1)}), I(1));
  ASSERT_EQ(runner.jobs().size(), 1u);
  EXPECT_EQ(visible(runner.jobs()[0].text), visible(label(2) + label(1)));
  EXPECT_EQ(runner.jobs()[0].port, 5);
  EXPECT_EQ(addIn.label().jobText(), "");
}

TEST_F(LabelComposerTest, PrintZeroSendsOnlyWhatWasCollected) {
  callFunc(Method::Print, {I(0)});
  callFunc(Method::PrintToBuff, {I(3)});
  callFunc(Method::Print, {I(-5)});
  ASSERT_EQ(runner.jobs().size(), 2u);
  EXPECT_EQ(runner.jobs()[0].text, "");
  EXPECT_EQ(runner.jobs()[1].text, label(3));
}

TEST_F(LabelComposerTest, CopyCountIsClampedAndMayBeDecimalText) {
  callFunc(Method::Print, {I(100000)});
  callFunc(Method::Print, {T(u"12")});
  callFunc(Method::Print, {T(u"  -4x")});
  callFunc(Method::Print, {T(u"abc")});
  ASSERT_EQ(runner.jobs().size(), 4u);
  EXPECT_EQ(runner.jobs()[0].text, label(32767));
  EXPECT_EQ(runner.jobs()[1].text, label(12));
  EXPECT_EQ(runner.jobs()[2].text, "");
  EXPECT_EQ(runner.jobs()[3].text, "");
}

TEST_F(LabelComposerTest, RefusedArgumentTypeReturnsZeroAndChangesNothing) {
  callFunc(Method::PrintToBuff, {I(1)});
  const std::string collected = addIn.label().jobText();
  abort.set();
  const ScriptValue refused[] = {ScriptValue::boolean(true), ScriptValue::other(),
                                 ScriptValue::real(1.0), ScriptValue::otherInteger(1)};
  for (const ScriptValue& v : refused) {
    EXPECT_EQ(callFunc(Method::Print, {v}), I(0));
    EXPECT_EQ(callFunc(Method::PrintToBuff, {v}), I(0));
  }
  EXPECT_EQ(addIn.label().jobText(), collected);
  EXPECT_EQ(addIn.label().headerText(), header);
  EXPECT_EQ(addIn.label().bodyText(), body);
  EXPECT_TRUE(runner.jobs().empty());
  EXPECT_TRUE(abort.isSet());
}

TEST_F(LabelComposerTest, PrintClearsAbortAndLaterChangesDoNotTouchTheJob) {
  abort.set();
  callFunc(Method::Print, {I(1)});
  EXPECT_FALSE(abort.isSet());
  set(Property::NumberPort, 3);
  call(Method::StartLabel);
  ASSERT_EQ(runner.jobs().size(), 1u);
  EXPECT_EQ(runner.jobs()[0].port, 0);
  EXPECT_EQ(runner.jobs()[0].text, label(1));
}

TEST_F(LabelComposerTest, PrintingTwiceSendsTheSameLabelTwice) {
  callFunc(Method::Print, {I(1)});
  callFunc(Method::Print, {I(1)});
  ASSERT_EQ(runner.jobs().size(), 2u);
  EXPECT_EQ(runner.jobs()[0].text, runner.jobs()[1].text);
}

TEST_F(LabelComposerTest, MissingCountReadsAsZero) {
  callFunc(Method::PrintToBuff, {});
  EXPECT_EQ(addIn.label().jobText(), label(0));
  callFunc(Method::Print, {});
  ASSERT_EQ(runner.jobs().size(), 1u);
  EXPECT_EQ(runner.jobs()[0].text, label(0));
}

}  // namespace
}  // namespace tagwright
