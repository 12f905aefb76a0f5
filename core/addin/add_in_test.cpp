#include "core/addin/add_in.h"

#include "support/add_in_fixture.h"

namespace tagwright {
namespace {

using testing::AddInTest;
using testing::I;
using testing::MemoryProfile;
using testing::T;

TEST_F(AddInTest, InitWithoutProfileSucceedsAndDoneSavesNothing) {
  EXPECT_EQ(addIn.init(nullptr), HostResult::Ok);
  EXPECT_EQ(addIn.settings(), PrinterSettings{});
  EXPECT_EQ(addIn.done(), HostResult::Ok);
}

TEST_F(AddInTest, InitRegistersTheProfileBeforeLoadingAndDoneSaves) {
  MemoryProfile profile;
  ASSERT_EQ(addIn.init(&profile), HostResult::Ok);
  ASSERT_EQ(profile.calls.size(), 21u);
  EXPECT_EQ(profile.calls.front(), u"register:Printer Tagwright");
  set(Property::BlackMarkLenght, 6);
  EXPECT_EQ(addIn.done(), HostResult::Ok);
  EXPECT_EQ(profile.calls.size(), 41u);
  EXPECT_EQ(profile.calls[21 + 16], u"write:BlackMarkLenght=6");

  // The next object reads the value back under the same key.
  AddIn second{AddInServices{codePages, runner, abort}};
  ASSERT_EQ(second.init(&profile), HostResult::Ok);
  EXPECT_EQ(second.settings().BlackMarkLenght, 6);
}

TEST_F(AddInTest, FailedReadFailsInitAndLeavesBuffersAndAbortFlag) {
  call(Method::PutRectangle, {I(1), I(1), I(2), I(2), I(1), I(1)});
  abort.set();
  MemoryProfile profile;
  profile.failReadAt = 4;
  EXPECT_EQ(addIn.init(&profile), HostResult::Failed);
  EXPECT_FALSE(addIn.label().bodyText().empty());
  EXPECT_TRUE(abort.isSet());
}

TEST_F(AddInTest, InitEmptiesBodyAndJobAndClearsAbort) {
  call(Method::StartLabel);
  call(Method::PutRectangle, {I(1), I(1), I(2), I(2), I(1), I(1)});
  callFunc(Method::PrintToBuff, {I(1)});
  abort.set();
  ASSERT_EQ(addIn.init(nullptr), HostResult::Ok);
  EXPECT_EQ(addIn.label().bodyText(), "");
  EXPECT_EQ(addIn.label().jobText(), "");
  EXPECT_FALSE(abort.isSet());
}

TEST_F(AddInTest, CountsAndExtensionName) {
  EXPECT_EQ(addIn.propertyCount(), 21);
  EXPECT_EQ(addIn.methodCount(), 10);
  EXPECT_EQ(addIn.extensionName(), u"Tagwright");
}

TEST_F(AddInTest, FindSetsMinusOneWhenNothingMatches) {
  std::int32_t n = 55;
  EXPECT_EQ(addIn.findMethod(u"НоваяЭтикетка", n), HostResult::Ok);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(addIn.findMethod(u"IsEnabled", n), HostResult::Refused);
  EXPECT_EQ(n, -1);
  EXPECT_EQ(addIn.findProperty(u"IsEnabled", n), HostResult::Ok);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(addIn.findProperty(u"darkness", n), HostResult::Refused);
  EXPECT_EQ(n, -1);
}

TEST_F(AddInTest, NamesByNumberAndAlias) {
  std::u16string name = u"stale";
  EXPECT_EQ(addIn.propertyName(3, 1, name), HostResult::Ok);
  EXPECT_EQ(name, u"Яркость");
  EXPECT_EQ(addIn.propertyName(3, 0, name), HostResult::Ok);
  EXPECT_EQ(name, u"Darkness");
  EXPECT_EQ(addIn.propertyName(3, 2, name), HostResult::Ok);
  EXPECT_EQ(name, u"");
  name = u"stale";
  EXPECT_EQ(addIn.propertyName(21, 0, name), HostResult::Refused);
  EXPECT_EQ(name, u"");
  EXPECT_EQ(addIn.methodName(9, 1, name), HostResult::Ok);
  EXPECT_EQ(name, u"СформироватьШтрихкодPDF417");
  EXPECT_EQ(addIn.methodName(-1, 0, name), HostResult::Refused);
  EXPECT_EQ(name, u"");
}

TEST_F(AddInTest, MethodShapeQueriesAndWhatTheyLeaveUntouched) {
  std::int32_t count = 42;
  EXPECT_EQ(addIn.paramCount(10, count), HostResult::Refused);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(addIn.paramCount(9, count), HostResult::Ok);
  EXPECT_EQ(count, 8);

  ScriptValue def = I(5);
  EXPECT_EQ(addIn.paramDefaultValue(2, 99, def), HostResult::Ok);
  EXPECT_TRUE(def.isEmpty());
  def = I(5);
  EXPECT_EQ(addIn.paramDefaultValue(10, 0, def), HostResult::Refused);
  EXPECT_TRUE(def.isEmpty());

  const std::pair<std::int32_t, bool> returns[] = {{0, false}, {5, true}, {6, false}, {7, true}};
  for (auto [method, expected] : returns) {
    bool has = !expected;
    EXPECT_EQ(addIn.hasReturnValue(method, has), HostResult::Ok);
    EXPECT_EQ(has, expected) << method;
  }
  bool untouched = true;
  EXPECT_EQ(addIn.hasReturnValue(10, untouched), HostResult::Refused);
  EXPECT_TRUE(untouched);
  untouched = false;
  EXPECT_EQ(addIn.isPropertyReadable(21, untouched), HostResult::Refused);
  EXPECT_EQ(addIn.isPropertyWritable(-1, untouched), HostResult::Refused);
  EXPECT_FALSE(untouched);
  EXPECT_EQ(addIn.isPropertyWritable(20, untouched), HostResult::Ok);
  EXPECT_TRUE(untouched);
}

TEST_F(AddInTest, PropertyValuesAcceptOnly32BitIntegers) {
  set(Property::Darkness, 12);
  const ScriptValue refused[] = {T(u"7"),
                                 ScriptValue::real(7.0),
                                 ScriptValue::otherInteger(7),
                                 ScriptValue::boolean(true),
                                 ScriptValue(),
                                 ScriptValue::other()};
  for (const ScriptValue& v : refused) {
    EXPECT_EQ(addIn.setProperty(3, v), HostResult::Refused);
    EXPECT_EQ(get(Property::Darkness), 12);
  }
  EXPECT_EQ(addIn.setProperty(0, I(0)), HostResult::Ok);
  EXPECT_EQ(addIn.setProperty(0, T(u"x")), HostResult::Refused);
  EXPECT_EQ(addIn.setProperty(21, I(1)), HostResult::Refused);
  EXPECT_EQ(get(Property::IsEnabled), 1);

  ScriptValue v = I(9);
  EXPECT_EQ(addIn.getProperty(21, v), HostResult::Refused);
  EXPECT_TRUE(v.isEmpty());
}

TEST_F(AddInTest, ProceduresAndFunctionsOnlyThroughTheirOwnEntry) {
  call(Method::StartLabel);
  const std::string header = addIn.label().headerText();
  EXPECT_EQ(call(Method::Print, {I(1)}), HostResult::Refused);
  EXPECT_EQ(call(Method::PrintToBuff, {I(1)}), HostResult::Refused);
  EXPECT_EQ(addIn.callAsProc(10, {}), HostResult::Refused);
  EXPECT_EQ(addIn.callAsProc(-1, {}), HostResult::Refused);
  ScriptValue result = I(77);
  EXPECT_EQ(addIn.callAsFunc(0, result, {}), HostResult::Refused);
  EXPECT_EQ(addIn.callAsFunc(1, result, {}), HostResult::Refused);
  EXPECT_EQ(result, I(77));
  EXPECT_EQ(addIn.label().jobText(), "");
  EXPECT_EQ(addIn.label().headerText(), header);
  EXPECT_TRUE(runner.jobs().empty());
}

TEST_F(AddInTest, BarcodeWidthCorrectionIsVisibleAsProperty) {
  set(Property::BarcodeWidth, 6);
  call(Method::PutBarcode, {T(u"E"), I(0), I(0), I(50), I(0), T(u"123")});
  EXPECT_EQ(get(Property::BarcodeWidth), 2);
}

}  // namespace
}  // namespace tagwright
