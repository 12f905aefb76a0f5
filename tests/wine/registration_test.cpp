// Registration as regsvr32 leaves it, and removal. run.sh runs the
// "Registered" suites after `regsvr32 Tagwright.dll` and the "Unregistered"
// suite after `regsvr32 /u Tagwright.dll`.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/wine/wine_env.h"

namespace wine_tests {
namespace {

using unique_hkey = tagwright::win32::unique_resource<HKEY, &::RegCloseKey>;

const std::wstring kClassKey = std::wstring(L"CLSID\\") + host::kAddInClassIdText;

bool keyExists(const std::wstring& path) {
  unique_hkey key;
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::optional<std::wstring> stringValue(const std::wstring& path, const wchar_t* name = nullptr) {
  wchar_t buffer[1024];
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buffer);
}

std::wstring fullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 4];
  const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
  return std::wstring(buffer, length);
}

bool samePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The identifier and version of the type library in the DLL's resources.
TLIBATTR typeLibraryOfTheDll() {
  com_ptr<ITypeLib> library;
  TLIBATTR copy{};
  EXPECT_EQ(LoadTypeLibEx(dllPath().c_str(), REGKIND_NONE, library.put()), S_OK);
  if (!library) return copy;
  TLIBATTR* attributes = nullptr;
  EXPECT_EQ(library->GetLibAttr(&attributes), S_OK);
  if (attributes != nullptr) {
    copy = *attributes;
    library->ReleaseTLibAttr(attributes);
  }
  return copy;
}

std::wstring typeLibraryKey() {
  wchar_t guid[64];
  StringFromGUID2(typeLibraryOfTheDll().guid, guid, 64);
  return std::wstring(L"TypeLib\\") + guid;
}

TEST(Registered, WritesTheProgIdAndClassKeys) {
  struct Expected {
    std::wstring key;
    const wchar_t* value;  // nullptr: the default value
    std::wstring data;
  };
  const Expected expected[] = {
      {L"AddIn.Tagwright", nullptr, L"Tagwright Class"},
      {L"AddIn.Tagwright\\CLSID", nullptr, host::kAddInClassIdText},
      {kClassKey, nullptr, L"Tagwright Class"},
      {kClassKey + L"\\ProgID", nullptr, L"AddIn.Tagwright"},
      {kClassKey + L"\\VersionIndependentProgID", nullptr, L"AddIn.Tagwright"},
      {kClassKey + L"\\InprocServer32", L"ThreadingModel", L"both"},
  };
  for (const Expected& e : expected) {
    EXPECT_EQ(stringValue(e.key, e.value), e.data) << std::string(e.key.begin(), e.key.end());
  }
  std::optional<std::wstring> server = stringValue(kClassKey + L"\\InprocServer32");
  ASSERT_TRUE(server.has_value());
  EXPECT_TRUE(samePath(*server, fullPath(dllPath())));
}

TEST(Registered, RegistersTheTypeLibrary) {
  const TLIBATTR attributes = typeLibraryOfTheDll();
  EXPECT_EQ(attributes.wMajorVerNum, 1);
  EXPECT_EQ(attributes.wMinorVerNum, 0);
  EXPECT_EQ(stringValue(typeLibraryKey() + L"\\1.0"), L"V7 AddIn 1.0 Type Library");
  // A type library is registered under the platform of the DLL that holds it.
  const wchar_t* platform = sizeof(void*) == 8 ? L"\\win64" : L"\\win32";
  std::optional<std::wstring> file = stringValue(typeLibraryKey() + L"\\1.0\\0" + platform);
  ASSERT_TRUE(file.has_value());
  EXPECT_TRUE(samePath(*file, fullPath(dllPath())));
}

TEST(Registered, CreatesTheObjectByProgIdAlone) {
  CLSID classId{};
  ASSERT_EQ(CLSIDFromProgID(host::kProgId, &classId), S_OK);
  EXPECT_TRUE(IsEqualCLSID(classId, host::kAddInClassId));
  com_ptr<IUnknown> object = createByProgId();
  ASSERT_TRUE(object);
  EXPECT_TRUE(tagwright::com::queryInterface<host::IInitDone>(object.get()));
  EXPECT_TRUE(tagwright::com::queryInterface<host::ILanguageExtender>(object.get()));
  EXPECT_TRUE(tagwright::com::queryInterface<host::IPropertyLink>(object.get()));
}

TEST(Registered, RegisteringAgainReplacesTheClassKeyWhole) {
  // Something left under the class key by an older registration.
  {
    unique_hkey stale;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (kClassKey + L"\\Stale\\Deeper").c_str(), 0,
                              nullptr, 0, KEY_WRITE, nullptr, stale.put(), nullptr),
              ERROR_SUCCESS);
  }
  com_ptr<IUnknown> loaded = createByProgId();  // loads the DLL into this process
  ASSERT_TRUE(loaded);
  HMODULE module = GetModuleHandleW(L"Tagwright.dll");
  ASSERT_NE(module, nullptr);
  using Register = HRESULT(STDAPICALLTYPE*)();
  auto registerServer = reinterpret_cast<Register>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
  ASSERT_NE(registerServer, nullptr);
  EXPECT_EQ(registerServer(), S_OK);
  EXPECT_FALSE(keyExists(kClassKey + L"\\Stale"));
  EXPECT_EQ(stringValue(kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"both");
}

TEST(Unregistered, RemovesProgIdAndClassKeysAndKeepsSharedOnes) {
  EXPECT_FALSE(keyExists(L"AddIn.Tagwright"));
  EXPECT_FALSE(keyExists(kClassKey));
  EXPECT_TRUE(keyExists(L"CLSID"));
  EXPECT_TRUE(keyExists(typeLibraryKey() + L"\\1.0")) << "the type library stays registered";

  CLSID classId{};
  EXPECT_NE(CLSIDFromProgID(host::kProgId, &classId), S_OK);
  com_ptr<IUnknown> object;
  EXPECT_EQ(CoCreateInstance(host::kAddInClassId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             object.put_void()),
            REGDB_E_CLASSNOTREG);
}

}  // namespace
}  // namespace wine_tests
