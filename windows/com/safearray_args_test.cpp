#include "windows/com/safearray_args.h"

#include <gtest/gtest.h>

#include "windows/com/unique_safearray.h"
#include "windows/com/unique_variant.h"

namespace tagwright::com {
namespace {

unique_safearray variants(LONG lowerBound, std::initializer_list<LONG> numbers) {
  SAFEARRAYBOUND bound{static_cast<ULONG>(numbers.size()), lowerBound};
  unique_safearray array(SafeArrayCreate(VT_VARIANT, 1, &bound));
  LONG index = lowerBound;
  for (LONG n : numbers) {
    unique_variant v;
    v.get()->vt = VT_I4;
    v.get()->lVal = n;
    SafeArrayPutElement(array.get(), &index, v.get());
    ++index;
  }
  return array;
}

TEST(SafeArrayArgs, ReadsTheArgumentsInOrder) {
  unique_safearray array = variants(0, {3, -1, 7});
  SAFEARRAY* raw = array.get();
  EXPECT_EQ(readScriptArgs(&raw),
            (ScriptArgs{ScriptValue::int32(3), ScriptValue::int32(-1), ScriptValue::int32(7)}));

  unique_safearray mixed(SafeArrayCreateVector(VT_VARIANT, 0, 2));
  unique_variant text;
  text.get()->vt = VT_BSTR;
  text.get()->bstrVal = SysAllocString(L"Hi");
  LONG one = 1;
  SafeArrayPutElement(mixed.get(), &one, text.get());
  raw = mixed.get();
  EXPECT_EQ(readScriptArgs(&raw), (ScriptArgs{ScriptValue(), ScriptValue::text(u"Hi")}));
}

TEST(SafeArrayArgs, AnOtherLowerBoundStillStartsAtTheFirstElement) {
  unique_safearray array = variants(1, {5, 6});
  SAFEARRAY* raw = array.get();
  EXPECT_EQ(readScriptArgs(&raw), (ScriptArgs{ScriptValue::int32(5), ScriptValue::int32(6)}));
}

TEST(SafeArrayArgs, MalformedArraysCountAsNoArguments) {
  EXPECT_TRUE(readScriptArgs(nullptr).empty());
  SAFEARRAY* none = nullptr;
  EXPECT_TRUE(readScriptArgs(&none).empty());

  unique_safearray numbers(SafeArrayCreateVector(VT_I4, 0, 3));
  SAFEARRAY* raw = numbers.get();
  EXPECT_TRUE(readScriptArgs(&raw).empty());

  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  unique_safearray square(SafeArrayCreate(VT_VARIANT, 2, bounds));
  raw = square.get();
  EXPECT_TRUE(readScriptArgs(&raw).empty());

  unique_safearray empty(SafeArrayCreateVector(VT_VARIANT, 0, 0));
  raw = empty.get();
  EXPECT_TRUE(readScriptArgs(&raw).empty());
}

TEST(SafeArrayArgs, StoresTheFirstElementOnlyInAVariantVector) {
  unique_safearray array = variants(0, {0, 0});
  EXPECT_TRUE(storeFirstElement(array.get(), 1000));
  unique_variant element;
  LONG zero = 0;
  SafeArrayGetElement(array.get(), &zero, element.get());
  EXPECT_EQ(element.type(), VT_I4);
  EXPECT_EQ(element.get()->lVal, 1000);

  unique_safearray numbers(SafeArrayCreateVector(VT_I4, 0, 1));
  EXPECT_FALSE(storeFirstElement(numbers.get(), 1000));
  EXPECT_FALSE(storeFirstElement(nullptr, 1000));
  unique_safearray shifted = variants(1, {0});
  EXPECT_FALSE(storeFirstElement(shifted.get(), 1000)) << "index 0 lies outside";
}

}  // namespace
}  // namespace tagwright::com
