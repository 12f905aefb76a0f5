// ILanguageExtender and IPropertyLink through the real interfaces: names in
// both languages, values in and out of VARIANTs, and null pointers from the
// host.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/wine/wine_env.h"

namespace wine_tests {
namespace {

TEST(LanguageExtender, NamesItselfAndCounts) {
  AddInSession session;
  BSTR name = nullptr;
  ASSERT_EQ(session.extender().RegisterExtensionAs(&name), S_OK);
  unique_bstr owned(name);
  EXPECT_EQ(text(name), L"Tagwright");
  long count = 0;
  EXPECT_EQ(session.extender().GetNProps(&count), S_OK);
  EXPECT_EQ(count, 21);
  EXPECT_EQ(session.extender().GetNMethods(&count), S_OK);
  EXPECT_EQ(count, 10);
}

TEST(LanguageExtender, FindsNamesInBothLanguagesExactly) {
  struct Case {
    bool method;
    const wchar_t* name;
    long number;
  };
  const Case cases[] = {
      {true, L"StartLabel", 0},
      {true, L"НоваяЭтикетка", 0},
      {true, L"startlabel", -1},
      {true, L"StartLabel ", -1},
      {true, L"СформироватьШтрихкодPDF417", 9},
      {true, L"IsEnabled", -1},
      {false, L"IsEnabled", 0},
      {false, L"ДлинаЧернойМетки", 17},
      {false, L"GapLenght", 15},
      {false, L"GapLength", -1},
      {false, L"", -1},
  };
  AddInSession session;
  for (const Case& c : cases) {
    long number = 99;
    const HRESULT result = c.method ? session.extender().FindMethod(bstr(c.name).get(), &number)
                                    : session.extender().FindProp(bstr(c.name).get(), &number);
    EXPECT_EQ(number, c.number) << std::wstring(c.name).size();
    EXPECT_EQ(result, c.number >= 0 ? S_OK : S_FALSE);
  }
  long number = 99;
  EXPECT_EQ(session.extender().FindProp(nullptr, &number), S_FALSE) << "a null name is empty";
  EXPECT_EQ(number, -1);
}

TEST(LanguageExtender, NamesByNumberAndAlias) {
  struct Case {
    bool method;
    long number;
    long alias;
    const wchar_t* name;
    HRESULT result;
  };
  const Case cases[] = {
      {false, 3, 1, L"Яркость", S_OK},
      {false, 3, 0, L"Darkness", S_OK},
      {false, 3, 2, L"", S_OK},
      {false, 21, 0, L"", S_FALSE},
      {false, -1, 0, L"", S_FALSE},
      {true, 7, 1, L"ПечататьВБуфер", S_OK},
      {true, 4, 0, L"InversRectangle", S_OK},
      {true, 10, 0, L"", S_FALSE},
  };
  AddInSession session;
  for (const Case& c : cases) {
    BSTR name = nullptr;
    const HRESULT result = c.method ? session.extender().GetMethodName(c.number, c.alias, &name)
                                    : session.extender().GetPropName(c.number, c.alias, &name);
    unique_bstr owned(name);
    EXPECT_EQ(result, c.result) << c.number << "/" << c.alias;
    ASSERT_NE(name, nullptr) << "the host always gets a string";
    EXPECT_EQ(text(name), c.name) << c.number << "/" << c.alias;
  }
}

TEST(LanguageExtender, MethodShapes) {
  AddInSession session;
  auto& extender = session.extender();
  long params = 7;
  EXPECT_EQ(extender.GetNParams(2, &params), S_OK);
  EXPECT_EQ(params, 8);
  EXPECT_EQ(extender.GetNParams(10, &params), S_FALSE);
  EXPECT_EQ(params, 0);

  unique_variant value;
  value.get()->vt = VT_I4;
  EXPECT_EQ(extender.GetParamDefValue(2, 99, value.get()), S_OK);
  EXPECT_EQ(value.type(), VT_EMPTY);
  EXPECT_EQ(extender.GetParamDefValue(10, 0, value.get()), S_FALSE);

  BOOL flag = 42;
  EXPECT_EQ(extender.HasRetVal(5, &flag), S_OK);
  EXPECT_EQ(flag, TRUE);
  EXPECT_EQ(extender.HasRetVal(0, &flag), S_OK);
  EXPECT_EQ(flag, FALSE);
  flag = 42;
  EXPECT_EQ(extender.HasRetVal(10, &flag), S_FALSE);
  EXPECT_EQ(flag, 42) << "untouched when refused";
  EXPECT_EQ(extender.IsPropReadable(20, &flag), S_OK);
  EXPECT_EQ(flag, TRUE);
  flag = 42;
  EXPECT_EQ(extender.IsPropWritable(21, &flag), S_FALSE);
  EXPECT_EQ(flag, 42);

  EXPECT_EQ(session.call(L"Print", {1L}), S_FALSE) << "a function called as a procedure";
  unique_variant result;
  result.get()->vt = VT_I4;
  result.get()->lVal = 5;
  unique_safearray none = makeArgs({});
  SAFEARRAY* raw = none.get();
  EXPECT_EQ(extender.CallAsFunc(0, result.get(), &raw), S_FALSE);
  EXPECT_EQ(result.get()->lVal, 5) << "the result is untouched for a procedure";
}

TEST(LanguageExtender, PropertyValuesTravelAsFourByteIntegers) {
  AddInSession session;
  auto& extender = session.extender();
  const long darkness = session.propertyNumber(L"Darkness");
  ASSERT_EQ(session.setProperty(L"Darkness", 12), S_OK);

  // Values of another type are refused and change nothing.
  unique_variant refused[5];
  refused[0].get()->vt = VT_BSTR;
  refused[0].get()->bstrVal = SysAllocString(L"7");
  refused[1].get()->vt = VT_R8;
  refused[1].get()->dblVal = 7.0;
  refused[2].get()->vt = VT_I2;
  refused[2].get()->iVal = 7;
  refused[3].get()->vt = VT_BOOL;
  refused[3].get()->boolVal = VARIANT_TRUE;
  for (unique_variant& value : refused) {
    EXPECT_EQ(extender.SetPropVal(darkness, value.get()), S_FALSE) << value.type();
  }
  EXPECT_EQ(session.property(L"Darkness"), 12);

  // A value passed by reference is read through the reference.
  LONG byReference = 15;
  unique_variant reference;
  reference.get()->vt = VT_I4 | VT_BYREF;
  reference.get()->plVal = &byReference;
  EXPECT_EQ(extender.SetPropVal(darkness, reference.get()), S_OK);
  EXPECT_EQ(session.property(L"Darkness"), 15);
  VARIANT inner;
  VariantInit(&inner);
  inner.vt = VT_I4;
  inner.lVal = 16;
  unique_variant nested;
  nested.get()->vt = VT_VARIANT | VT_BYREF;
  nested.get()->pvarVal = &inner;
  EXPECT_EQ(extender.SetPropVal(darkness, nested.get()), S_OK);
  EXPECT_EQ(session.property(L"Darkness"), 16);
  unique_variant dangling;
  dangling.get()->vt = VT_I4 | VT_BYREF;
  dangling.get()->plVal = nullptr;
  EXPECT_EQ(extender.SetPropVal(darkness, dangling.get()), S_FALSE);
  static_cast<void>(dangling.release());  // holds nothing to free

  unique_variant out;
  EXPECT_EQ(extender.GetPropVal(21, out.get()), S_FALSE);
  EXPECT_EQ(out.type(), VT_EMPTY);
  EXPECT_EQ(extender.GetPropVal(0, out.get()), S_OK);
  EXPECT_EQ(out.type(), VT_I4);
  EXPECT_EQ(out.get()->lVal, 1);

  ASSERT_EQ(session.setProperty(L"Speed", 8), S_OK);
  EXPECT_EQ(session.property(L"Speed"), 2) << "out of range falls back";
}

TEST(LanguageExtender, PropertyLinkExchangesRawGroups) {
  AddInSession session;
  auto& link = session.link();
  ASSERT_EQ(link.SetPrinterGroup(12, 5, 30, 1, 4, 1), S_OK);
  EXPECT_EQ(session.property(L"NumberPort"), 12);
  EXPECT_EQ(session.property(L"Speed"), 7) << "the index is stored as passed";
  EXPECT_EQ(session.property(L"Stripper"), 1);
  EXPECT_EQ(session.property(L"Cutter"), 4) << "no side effect between stripper and cutter";

  ASSERT_EQ(link.SetLabelGroup(30, 50, 2, 8, -40, 1, 1), S_OK);
  ASSERT_EQ(link.SetMediaGroup(3, 2, 0, 2, 15, 4, -3), S_OK);
  long v[7] = {};
  ASSERT_EQ(link.GetLabelGroup(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]), S_OK);
  EXPECT_EQ(std::vector<long>(v, v + 7), (std::vector<long>{30, 50, 2, 8, -40, 1, 1}));
  ASSERT_EQ(link.GetMediaGroup(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6]), S_OK);
  EXPECT_EQ(std::vector<long>(v, v + 7), (std::vector<long>{3, 2, 0, 2, 15, 4, -3}));
  ASSERT_EQ(link.GetPrinterGroup(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5]), S_OK);
  EXPECT_EQ(std::vector<long>(v, v + 6), (std::vector<long>{12, 5, 30, 1, 4, 1}));
  EXPECT_EQ(session.property(L"BarcodeWidth"), 4);
}

// Every out-pointer the host may pass as null: the call is refused with
// E_POINTER and nothing is written anywhere.
TEST(LanguageExtender, NullOutPointersAreRefused) {
  AddInSession session;
  auto& e = session.extender();
  auto& link = session.link();
  unique_bstr name = bstr(L"Darkness");
  long x = 0;
  unique_safearray args = makeArgs({1L});
  SAFEARRAY* raw = args.get();
  const std::pair<const char*, std::function<HRESULT()>> calls[] = {
      {"RegisterExtensionAs", [&] { return e.RegisterExtensionAs(nullptr); }},
      {"GetNProps", [&] { return e.GetNProps(nullptr); }},
      {"FindProp", [&] { return e.FindProp(name.get(), nullptr); }},
      {"GetPropName", [&] { return e.GetPropName(3, 0, nullptr); }},
      {"GetPropVal", [&] { return e.GetPropVal(3, nullptr); }},
      {"SetPropVal", [&] { return e.SetPropVal(3, nullptr); }},
      {"IsPropReadable", [&] { return e.IsPropReadable(3, nullptr); }},
      {"IsPropWritable", [&] { return e.IsPropWritable(3, nullptr); }},
      {"GetNMethods", [&] { return e.GetNMethods(nullptr); }},
      {"FindMethod", [&] { return e.FindMethod(name.get(), nullptr); }},
      {"GetMethodName", [&] { return e.GetMethodName(0, 0, nullptr); }},
      {"GetNParams", [&] { return e.GetNParams(0, nullptr); }},
      {"GetParamDefValue", [&] { return e.GetParamDefValue(0, 0, nullptr); }},
      {"HasRetVal", [&] { return e.HasRetVal(5, nullptr); }},
      {"CallAsFunc", [&] { return e.CallAsFunc(7, nullptr, &raw); }},
      {"GetPrinterGroup", [&] { return link.GetPrinterGroup(&x, &x, &x, &x, &x, nullptr); }},
      {"GetLabelGroup", [&] { return link.GetLabelGroup(nullptr, &x, &x, &x, &x, &x, &x); }},
      {"GetMediaGroup", [&] { return link.GetMediaGroup(&x, &x, &x, nullptr, &x, &x, &x); }},
  };
  for (const auto& [what, call] : calls) EXPECT_EQ(call(), E_POINTER) << what;
  EXPECT_EQ(x, 0);
}

}  // namespace
}  // namespace wine_tests
