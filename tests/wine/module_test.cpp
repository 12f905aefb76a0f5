// The module's exports and class factory, reached the way COM reaches them.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/wine/wine_env.h"

namespace wine_tests {
namespace {

using namespace std::chrono_literals;

com_ptr<IClassFactory> factory() {
  com_ptr<IClassFactory> result;
  EXPECT_EQ(CoGetClassObject(host::kAddInClassId, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             result.put_void()),
            S_OK);
  return result;
}

template <typename Function>
Function moduleExport(const char* name) {
  HMODULE module = GetModuleHandleW(L"Tagwright.dll");
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// An outer object that aggregates the component and counts what reaches it.
class Outer final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    ++queries;
    if (IsEqualIID(iid, IID_IUnknown)) {
      *object = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    // Everything else is answered by the aggregated component.
    return inner ? inner->QueryInterface(iid, object) : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

  com_ptr<IUnknown> inner;
  long references = 1;
  int queries = 0;
};

TEST(Module, LiveObjectsAndServerLocksKeepTheModule) {
  com_ptr<IUnknown> object = createByProgId();
  ASSERT_TRUE(object);
  EXPECT_EQ(moduleCanUnloadNow(), S_FALSE) << "an object is alive";
  object.reset();
  EXPECT_TRUE(waitUntilUnloadable(10s));

  com_ptr<IClassFactory> classFactory = factory();
  ASSERT_TRUE(classFactory);
  EXPECT_EQ(moduleCanUnloadNow(), S_FALSE) << "the factory is held outside the module";
  EXPECT_EQ(classFactory->LockServer(TRUE), S_OK);
  classFactory.reset();
  EXPECT_EQ(moduleCanUnloadNow(), S_FALSE) << "a server lock is held";
  factory()->LockServer(FALSE);
  EXPECT_EQ(moduleCanUnloadNow(), S_OK);
}

TEST(Module, ClassObjectOnlyForTheComponentsClass) {
  com_ptr<IUnknown> loaded = createByProgId();
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto getClassObject = moduleExport<GetClassObject>("DllGetClassObject");
  ASSERT_NE(getClassObject, nullptr);

  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject(IID_IUnknown, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(getClassObject(host::kAddInClassId, IID_IClassFactory, nullptr), E_POINTER);

  // The factory is made once and kept: every request gets the same one.
  com_ptr<IClassFactory> first;
  com_ptr<IClassFactory> second;
  ASSERT_EQ(getClassObject(host::kAddInClassId, IID_IClassFactory, first.put_void()), S_OK);
  ASSERT_EQ(getClassObject(host::kAddInClassId, IID_IClassFactory, second.put_void()), S_OK);
  EXPECT_EQ(first.get(), second.get());
  EXPECT_EQ(first->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
}

TEST(Module, ObjectIdentityIsTheSameThroughEveryInterface) {
  com_ptr<IUnknown> object = createByProgId();
  ASSERT_TRUE(object);
  auto initDone = tagwright::com::queryInterface<host::IInitDone>(object.get());
  auto extender = tagwright::com::queryInterface<host::ILanguageExtender>(initDone.get());
  auto link = tagwright::com::queryInterface<host::IPropertyLink>(extender.get());
  ASSERT_TRUE(initDone && extender && link);
  EXPECT_EQ(tagwright::com::queryInterface<IUnknown>(link.get()).get(), object.get());
  EXPECT_EQ(tagwright::com::queryInterface<IUnknown>(initDone.get()).get(), object.get());
  EXPECT_FALSE(tagwright::com::queryInterface<IDispatch>(object.get()));
}

TEST(Module, CanBeAggregated) {
  Outer outer;
  com_ptr<IClassFactory> classFactory = factory();
  ASSERT_TRUE(classFactory);
  void* refused = reinterpret_cast<void*>(1);
  EXPECT_EQ(classFactory->CreateInstance(&outer, __uuidof(host::IInitDone), &refused),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(refused, nullptr);

  ASSERT_EQ(classFactory->CreateInstance(&outer, IID_IUnknown, outer.inner.put_void()), S_OK);
  auto extender = tagwright::com::queryInterface<host::ILanguageExtender>(outer.inner.get());
  ASSERT_TRUE(extender);
  const long before = outer.references;
  extender->AddRef();
  EXPECT_EQ(outer.references, before + 1) << "references go to the outer object";
  extender->Release();

  const int queries = outer.queries;
  auto identity = tagwright::com::queryInterface<IUnknown>(extender.get());
  EXPECT_EQ(identity.get(), static_cast<IUnknown*>(&outer));
  EXPECT_EQ(outer.queries, queries + 1) << "queries go to the outer object";

  long count = 0;
  EXPECT_EQ(extender->GetNProps(&count), S_OK);
  EXPECT_EQ(count, 21);
  identity.reset();
  extender.reset();
  outer.inner.reset();
  classFactory.reset();
  EXPECT_EQ(outer.references, 1);
  EXPECT_EQ(moduleCanUnloadNow(), S_OK) << "the aggregated object is gone";
}

}  // namespace
}  // namespace wine_tests
