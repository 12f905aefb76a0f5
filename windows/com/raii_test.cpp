// The resource owners: each resource is freed exactly once, whichever way
// its owner goes.
#include <gtest/gtest.h>

#include "windows/com/com_ptr.h"
#include "windows/com/unique_bstr.h"
#include "windows/com/unique_variant.h"

namespace tagwright::com {
namespace {

class Counted final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (refuse || !IsEqualIID(iid, IID_IUnknown)) {
      *object = reinterpret_cast<void*>(0x1234);  // a careless object's leftover
      return E_NOINTERFACE;
    }
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
  long references = 1;
  bool refuse = false;
};

TEST(ComPtr, BalancesReferencesThroughCopyMoveAndReset) {
  Counted object;
  {
    auto first = com_ptr<IUnknown>::copy(&object);
    EXPECT_EQ(object.references, 2);
    com_ptr<IUnknown> second = first;
    EXPECT_EQ(object.references, 3);
    com_ptr<IUnknown> third = std::move(second);
    EXPECT_EQ(object.references, 3);
    EXPECT_FALSE(second);
    third = first;  // assigning the same object keeps the count balanced
    EXPECT_EQ(object.references, 3);
    first.reset();
    EXPECT_EQ(object.references, 2);
    IUnknown* raw = third.detach();
    EXPECT_EQ(object.references, 2);
    auto adopted = com_ptr<IUnknown>::adopt(raw);
  }
  EXPECT_EQ(object.references, 1);
}

TEST(ComPtr, QueryLeavesNothingBehindWhenRefused) {
  Counted object;
  EXPECT_TRUE(queryInterface<IUnknown>(&object));
  EXPECT_EQ(object.references, 1);
  object.refuse = true;
  com_ptr<IUnknown> refused = queryInterface<IUnknown>(&object);
  EXPECT_FALSE(refused) << "a refusing object's leftover is not taken as a reference";
  EXPECT_FALSE(queryInterface<IUnknown>(static_cast<IUnknown*>(nullptr)));
}

TEST(UniqueBstr, MakesTextsAndFreesThem) {
  unique_bstr text = makeBstr(u"Печать");
  EXPECT_EQ(bstrText(text.get()), u"Печать");
  unique_bstr empty = makeBstr(u"");
  ASSERT_TRUE(empty) << "an empty text is still a string for the host";
  EXPECT_EQ(SysStringLen(empty.get()), 0u);
  EXPECT_EQ(bstrText(nullptr), u"");
  BSTR raw = text.release();
  EXPECT_FALSE(text);
  SysFreeString(raw);
}

TEST(UniqueVariant, ClearsWhatItHolds) {
  Counted object;
  {
    unique_variant held;
    held.get()->vt = VT_UNKNOWN;
    held.get()->punkVal = &object;
    object.AddRef();
    unique_variant moved = std::move(held);
    EXPECT_EQ(held.type(), VT_EMPTY);
    EXPECT_EQ(object.references, 2);
    moved.put();  // emptied for reuse
    EXPECT_EQ(object.references, 1);
    EXPECT_EQ(moved.type(), VT_EMPTY);
    moved.get()->vt = VT_UNKNOWN;
    moved.get()->punkVal = &object;
    object.AddRef();
  }
  EXPECT_EQ(object.references, 1);
}

}  // namespace
}  // namespace tagwright::com
