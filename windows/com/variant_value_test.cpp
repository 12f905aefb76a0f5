#include "windows/com/variant_value.h"

#include <gtest/gtest.h>

#include "windows/com/unique_variant.h"

namespace tagwright::com {
namespace {

VARIANT make(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  v.vt = type;
  return v;
}

TEST(VariantValue, EachTypeMapsToWhatTheCoreDistinguishes) {
  struct Case {
    const char* what;
    VARIANT value;
    ScriptValue expected;
  };
  VARIANT i4 = make(VT_I4);
  i4.lVal = -7;
  VARIANT r4 = make(VT_R4);
  r4.fltVal = 2.5f;
  VARIANT r8 = make(VT_R8);
  r8.dblVal = -1.25;
  VARIANT yes = make(VT_BOOL);
  yes.boolVal = VARIANT_TRUE;
  VARIANT i2 = make(VT_I2);
  i2.iVal = -3;
  VARIANT ui1 = make(VT_UI1);
  ui1.bVal = 200;
  VARIANT ui4 = make(VT_UI4);
  ui4.ulVal = 4000000000u;
  VARIANT i8 = make(VT_I8);
  i8.llVal = -5000000000;
  VARIANT hugeUi8 = make(VT_UI8);
  hugeUi8.ullVal = 0xFFFFFFFFFFFFFFFFull;
  VARIANT date = make(VT_DATE);
  date.date = 1.0;
  const Case cases[] = {
      {"empty", make(VT_EMPTY), ScriptValue()},
      {"i4", i4, ScriptValue::int32(-7)},
      {"r4", r4, ScriptValue::real(2.5)},
      {"r8", r8, ScriptValue::real(-1.25)},
      {"bool", yes, ScriptValue::boolean(true)},
      {"i2", i2, ScriptValue::otherInteger(-3)},
      {"ui1", ui1, ScriptValue::otherInteger(200)},
      {"ui4", ui4, ScriptValue::otherInteger(4000000000)},
      {"i8", i8, ScriptValue::otherInteger(-5000000000)},
      {"ui8 beyond int64", hugeUi8, ScriptValue::other()},
      {"date", date, ScriptValue::other()},
      {"null", make(VT_NULL), ScriptValue::other()},
  };
  for (const Case& c : cases) EXPECT_EQ(toScriptValue(c.value), c.expected) << c.what;
}

TEST(VariantValue, TextsIncludingNullAndEmbeddedZeros) {
  unique_variant text;
  text.get()->vt = VT_BSTR;
  text.get()->bstrVal = SysAllocStringLen(L"a\0b", 3);
  EXPECT_EQ(toScriptValue(*text.get()), ScriptValue::text(std::u16string(u"a\0b", 3)));

  VARIANT nullText = make(VT_BSTR);
  nullText.bstrVal = nullptr;
  EXPECT_EQ(toScriptValue(nullText), ScriptValue::text(u""));
}

TEST(VariantValue, ReferencesAreFollowedSafely) {
  LONG number = 41;
  VARIANT byRef = make(VT_I4 | VT_BYREF);
  byRef.plVal = &number;
  EXPECT_EQ(toScriptValue(byRef), ScriptValue::int32(41));

  BSTR text = SysAllocString(L"x");
  VARIANT textRef = make(VT_BSTR | VT_BYREF);
  textRef.pbstrVal = &text;
  EXPECT_EQ(toScriptValue(textRef), ScriptValue::text(u"x"));
  SysFreeString(text);

  VARIANT target = make(VT_I4);
  target.lVal = 9;
  VARIANT inner = make(VT_VARIANT | VT_BYREF);
  inner.pvarVal = &target;
  VARIANT outer = make(VT_VARIANT | VT_BYREF);
  outer.pvarVal = &inner;
  EXPECT_EQ(toScriptValue(outer), ScriptValue::int32(9));

  // A VARIANT that refers to itself is not followed for ever.
  VARIANT loop = make(VT_VARIANT | VT_BYREF);
  loop.pvarVal = &loop;
  EXPECT_EQ(toScriptValue(loop), ScriptValue::other());

  VARIANT dangling = make(VT_I4 | VT_BYREF);
  dangling.plVal = nullptr;
  EXPECT_EQ(toScriptValue(dangling), ScriptValue::other());

  VARIANT array = make(VT_ARRAY | VT_I4);
  array.parray = nullptr;
  EXPECT_EQ(toScriptValue(array), ScriptValue::other());
}

TEST(VariantValue, StoresCoreValuesForTheHost) {
  unique_variant number;
  storeScriptValue(ScriptValue::int32(1), *number.get());
  EXPECT_EQ(number.type(), VT_I4);
  EXPECT_EQ(number.get()->lVal, 1);

  unique_variant text;
  storeScriptValue(ScriptValue::text(u"Печать"), *text.get());
  ASSERT_EQ(text.type(), VT_BSTR);
  EXPECT_EQ(std::wstring(text.get()->bstrVal), L"Печать");

  unique_variant empty;
  storeScriptValue(ScriptValue(), *empty.get());
  EXPECT_EQ(empty.type(), VT_EMPTY);
  storeScriptValue(ScriptValue::other(), *empty.get());
  EXPECT_EQ(empty.type(), VT_EMPTY);
}

}  // namespace
}  // namespace tagwright::com
