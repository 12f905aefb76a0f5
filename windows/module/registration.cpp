#include "windows/module/registration.h"

#include <oleauto.h>

#include <string>
#include <string_view>

#include "core/text/utf8.h"
#include "windows/com/com_ptr.h"
#include "platform/win32/unique_resource.h"
#include "windows/module/module_path.h"
#include "windows/module/registry_script.h"
#include "windows/resources/resource_ids.h"

namespace tagwright::com {
namespace {

using unique_hkey = win32::unique_resource<HKEY, &::RegCloseKey>;

const wchar_t* wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The registry below HKEY_CLASSES_ROOT, for the registration script.
class ClassesRootEditor final : public RegistryEditor {
 public:
  long createKey(const std::u16string& path) override {
    unique_hkey key;
    return ::RegCreateKeyExW(HKEY_CLASSES_ROOT, wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_WRITE, nullptr, key.put(), nullptr);
  }
  long setString(const std::u16string& path, const std::u16string& valueName,
                 const std::u16string& data) override {
    unique_hkey key;
    if (long error = ::RegOpenKeyExW(HKEY_CLASSES_ROOT, wide(path), 0, KEY_SET_VALUE, key.put())) {
      return error;
    }
    const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(char16_t));
    return ::RegSetValueExW(key.get(), valueName.empty() ? nullptr : wide(valueName), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()), bytes);
  }
  long deleteTree(const std::u16string& path) override {
    // Given a subkey name, RegDeleteTree removes that key itself as well.
    const long error = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, wide(path));
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
  }
  long deleteEmptyKey(const std::u16string& path) override {
    return ::RegDeleteKeyW(HKEY_CLASSES_ROOT, wide(path));
  }
  bool hasSubkeys(const std::u16string& path) override {
    unique_hkey key;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, wide(path), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
      return false;
    }
    DWORD subkeys = 0;
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return true;  // unknown: keep the key
    }
    return subkeys != 0;
  }
};

// The script text of the REGISTRY resource, decoded from UTF-8.
HRESULT loadScriptText(HMODULE module, std::u16string& text) {
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(kRegistryScriptResource), L"REGISTRY");
  if (found == nullptr) return HRESULT_FROM_WIN32(::GetLastError());
  HGLOBAL loaded = ::LoadResource(module, found);
  const DWORD size = ::SizeofResource(module, found);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return HRESULT_FROM_WIN32(::GetLastError());
  if (size == 0) return S_OK;
  const Result<std::u32string, Utf8Fault> decoded =
      decodeUtf8(std::string_view(static_cast<const char*>(bytes), size));
  if (!decoded) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  text = toUtf16(decoded.value());
  return S_OK;
}

HRESULT loadScript(HMODULE module, RegistryScript& script) {
  std::u16string text;
  if (HRESULT result = loadScriptText(module, text); FAILED(result)) return result;
  const std::wstring path = modulePath(module);
  RegistryVariables variables{{u"MODULE", std::u16string(path.begin(), path.end())}};
  RegistryScriptParse parsed = parseRegistryScript(text, variables);
  if (!parsed) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  script = std::move(parsed).value();
  return S_OK;
}

HRESULT registerTypeLibrary(HMODULE module) {
  std::wstring path = modulePath(module);
  com_ptr<ITypeLib> library;
  if (HRESULT result = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()); FAILED(result)) {
    return result;
  }
  // RegisterTypeLib takes the path as a non-const string; it does not change it.
  return ::RegisterTypeLib(library.get(), path.data(), nullptr);
}

}  // namespace

HRESULT registerServer(HMODULE module) {
  RegistryScript script;
  if (HRESULT result = loadScript(module, script); FAILED(result)) return result;
  ClassesRootEditor editor;
  if (long error = applyRegistration(script, editor)) return HRESULT_FROM_WIN32(error);
  return registerTypeLibrary(module);
}

HRESULT unregisterServer(HMODULE module) {
  RegistryScript script;
  if (SUCCEEDED(loadScript(module, script))) {
    ClassesRootEditor editor;
    applyRemoval(script, editor);
  }
  return S_OK;
}

}  // namespace tagwright::com
