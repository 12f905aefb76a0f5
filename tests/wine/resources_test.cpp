// The resources of Tagwright.dll: the string table against the core's
// catalogue, the version record and the type library.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/addin/catalogue.h"
#include "tests/wine/wine_env.h"

namespace wine_tests {
namespace {

class DllResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(dllPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  std::u16string loadString(int id) {
    const wchar_t* text = nullptr;
    // With a zero length LoadString hands out the resource text in place.
    const int length =
        LoadStringW(module_, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return u"<missing>";
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(length));
  }
  HMODULE module_ = nullptr;
};

TEST_F(DllResources, StringTableMatchesTheCatalogue) {
  for (std::int32_t n = 0; n < tagwright::kPropertyCount; ++n) {
    const tagwright::PropertyEntry& entry = *tagwright::propertyEntry(n);
    EXPECT_EQ(loadString(entry.resourceId),
              tagwright::catalogueResourceText(entry.english, entry.russian))
        << "property " << n;
  }
  for (std::int32_t n = 0; n < tagwright::kMethodCount; ++n) {
    const tagwright::MethodEntry& entry = *tagwright::methodEntry(n);
    EXPECT_EQ(loadString(entry.resourceId),
              tagwright::catalogueResourceText(entry.english, entry.russian))
        << "method " << n;
  }
  EXPECT_EQ(loadString(tagwright::kExtensionNameResource), tagwright::kExtensionName);
  EXPECT_EQ(loadString(tagwright::kPageTitleResource), tagwright::kPageTitle);
}

TEST_F(DllResources, CarriesTheRegistrationScriptAndTypeLibrary) {
  EXPECT_NE(FindResourceW(module_, MAKEINTRESOURCEW(102), L"REGISTRY"), nullptr);
  EXPECT_NE(FindResourceW(module_, MAKEINTRESOURCEW(1), L"TYPELIB"), nullptr);
}

std::wstring versionString(const std::vector<BYTE>& block, const wchar_t* name) {
  struct Translation {
    WORD language;
    WORD codePage;
  }* translations = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translations), &size) ||
      size < sizeof(Translation)) {
    return L"<no translation>";
  }
  wchar_t path[128];
  swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations->language,
           translations->codePage, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &size)) {
    return L"<missing>";
  }
  return value;
}

TEST(DllVersion, RecordsVersionAndNames) {
  const std::wstring path = dllPath();
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(7, 11));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(7, 11));

  EXPECT_EQ(versionString(block, L"InternalName"), L"AddIn");
  EXPECT_EQ(versionString(block, L"OriginalFilename"), L"Tagwright.DLL");
  EXPECT_EQ(versionString(block, L"ProductName"), L"Tagwright");
  EXPECT_EQ(versionString(block, L"FileVersion"), L"1.0.11.7");
}

// The type library, read back: the class and the slot order of every
// interface, against the names the host calls them by.
class TypeLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadTypeLibEx(dllPath().c_str(), REGKIND_NONE, library_.put()), S_OK);
  }
  std::wstring documentation(ITypeInfo* info, MEMBERID member = MEMBERID_NIL) {
    BSTR name = nullptr;
    BSTR doc = nullptr;
    info->GetDocumentation(member, &name, &doc, nullptr, nullptr);
    unique_bstr ownedName(name);
    unique_bstr ownedDoc(doc);
    return member == MEMBERID_NIL ? text(doc) : text(name);
  }
  com_ptr<ITypeLib> library_;
};

TEST_F(TypeLibrary, DescribesTheClass) {
  BSTR doc = nullptr;
  ASSERT_EQ(library_->GetDocumentation(-1, nullptr, &doc, nullptr, nullptr), S_OK);
  unique_bstr owned(doc);
  EXPECT_EQ(text(doc), L"V7 AddIn 1.0 Type Library");

  com_ptr<ITypeInfo> coclass;
  ASSERT_EQ(library_->GetTypeInfoOfGuid(host::kAddInClassId, coclass.put()), S_OK);
  EXPECT_EQ(documentation(coclass.get()), L"Tagwright Class");
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
  const IID expected[] = {__uuidof(host::IInitDone), __uuidof(host::ILanguageExtender),
                          __uuidof(host::IPropertyLink)};
  ASSERT_EQ(attributes->cImplTypes, 3);
  coclass->ReleaseTypeAttr(attributes);
  for (UINT i = 0; i < 3; ++i) {
    HREFTYPE reference = 0;
    com_ptr<ITypeInfo> implemented;
    TYPEATTR* implementedAttributes = nullptr;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(i, &reference), S_OK);
    ASSERT_EQ(coclass->GetRefTypeInfo(reference, implemented.put()), S_OK);
    ASSERT_EQ(implemented->GetTypeAttr(&implementedAttributes), S_OK);
    EXPECT_TRUE(IsEqualIID(implementedAttributes->guid, expected[i])) << "interface " << i;
    implemented->ReleaseTypeAttr(implementedAttributes);
  }
}

TEST_F(TypeLibrary, InterfacesHaveTheHostsSlotOrder) {
  struct Interface {
    IID iid;
    int firstSlot;  // after IUnknown, and after IPropertyBag for the profile
    std::vector<std::wstring> methods;
  };
  const Interface interfaces[] = {
      {__uuidof(host::IInitDone), 3, {L"Init", L"Done", L"GetInfo"}},
      {__uuidof(host::IPropertyProfile), 5, {L"RegisterProfileAs"}},
      {__uuidof(host::ILanguageExtender),
       3,
       {L"RegisterExtensionAs", L"GetNProps", L"FindProp", L"GetPropName", L"GetPropVal",
        L"SetPropVal", L"IsPropReadable", L"IsPropWritable", L"GetNMethods", L"FindMethod",
        L"GetMethodName", L"GetNParams", L"GetParamDefValue", L"HasRetVal", L"CallAsProc",
        L"CallAsFunc"}},
      {__uuidof(host::IAsyncEvent),
       3,
       {L"SetEventBufferDepth", L"GetEventBufferDepth", L"ExternalEvent", L"CleanBuffer"}},
      {__uuidof(host::IStatusLine), 3, {L"SetStatusLine", L"ResetStatusLine"}},
      {__uuidof(host::IPropertyLink),
       3,
       {L"GetPrinterGroup", L"SetPrinterGroup", L"GetLabelGroup", L"SetLabelGroup",
        L"GetMediaGroup", L"SetMediaGroup"}},
  };
  for (const Interface& expected : interfaces) {
    com_ptr<ITypeInfo> info;
    ASSERT_EQ(library_->GetTypeInfoOfGuid(expected.iid, info.put()), S_OK);
    for (UINT i = 0; i < expected.methods.size(); ++i) {
      FUNCDESC* function = nullptr;
      ASSERT_EQ(info->GetFuncDesc(i, &function), S_OK);
      EXPECT_EQ(documentation(info.get(), function->memid), expected.methods[i]);
      const auto slot = static_cast<int>(expected.firstSlot + static_cast<int>(i));
      EXPECT_EQ(function->oVft, static_cast<SHORT>(slot * static_cast<int>(sizeof(void*))))
          << std::string(expected.methods[i].begin(), expected.methods[i].end());
      info->ReleaseFuncDesc(function);
    }
  }
}

}  // namespace
}  // namespace wine_tests
