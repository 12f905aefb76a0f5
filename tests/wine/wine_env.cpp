#include "tests/wine/wine_env.h"

#include <gtest/gtest.h>

#include <thread>

namespace wine_tests {
namespace {

std::wstring environment(const wchar_t* name) {
  wchar_t buffer[4096];
  const DWORD length = GetEnvironmentVariableW(name, buffer, 4096);
  if (length == 0 || length >= 4096) return {};
  return std::wstring(buffer, length);
}

}  // namespace

std::wstring dllPath() { return environment(L"TAGWRIGHT_DLL"); }
std::wstring portFilePath() { return environment(L"TAGWRIGHT_PORT_FILE"); }

unique_bstr bstr(const std::wstring& value) {
  return unique_bstr(SysAllocStringLen(value.data(), static_cast<UINT>(value.size())));
}

std::wstring text(BSTR value) {
  return value == nullptr ? std::wstring() : std::wstring(value, SysStringLen(value));
}

com_ptr<IUnknown> createByProgId() {
  CLSID classId{};
  com_ptr<IUnknown> object;
  if (FAILED(CLSIDFromProgID(host::kProgId, &classId))) return object;
  if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                              object.put_void()))) {
    object.reset();
  }
  return object;
}

HRESULT moduleCanUnloadNow() {
  HMODULE module = GetModuleHandleW(L"Tagwright.dll");
  if (module == nullptr) return E_UNEXPECTED;
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  auto canUnload = reinterpret_cast<CanUnload>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  return canUnload != nullptr ? canUnload() : E_UNEXPECTED;
}

bool waitUntilUnloadable(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (moduleCanUnloadNow() != S_OK) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

unique_safearray makeArgs(std::initializer_list<Arg> args) {
  unique_safearray array(SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(args.size())));
  LONG index = 0;
  for (const Arg& arg : args) {
    unique_variant value;
    if (const long* number = std::get_if<long>(&arg)) {
      value.get()->vt = VT_I4;
      value.get()->lVal = *number;
    } else {
      value.get()->vt = VT_BSTR;
      value.get()->bstrVal = bstr(std::get<std::wstring>(arg)).release();
    }
    SafeArrayPutElement(array.get(), &index, value.get());
    ++index;
  }
  return array;
}

std::string readFileBytes(const std::wstring& path) {
  unique_handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!file) return bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

void truncateFile(const std::wstring& path) {
  unique_handle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, TRUNCATE_EXISTING, 0, nullptr));
  ASSERT_TRUE(static_cast<bool>(file)) << "cannot empty the port file";
}

bool waitForFileSize(const std::wstring& path, std::size_t size,
                     std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (readFileBytes(path).size() < size) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

AddInSession::AddInSession() {
  com_ptr<IUnknown> object = createByProgId();
  initDone_ = tagwright::com::queryInterface<host::IInitDone>(object.get());
  extender_ = tagwright::com::queryInterface<host::ILanguageExtender>(object.get());
  link_ = tagwright::com::queryInterface<host::IPropertyLink>(object.get());
  EXPECT_TRUE(initDone_ && extender_ && link_) << "the component cannot be created by ProgID";
}

long AddInSession::propertyNumber(const std::wstring& name) {
  long number = -2;
  extender_->FindProp(bstr(name).get(), &number);
  return number;
}

long AddInSession::methodNumber(const std::wstring& name) {
  long number = -2;
  extender_->FindMethod(bstr(name).get(), &number);
  return number;
}

HRESULT AddInSession::setProperty(const std::wstring& name, long value) {
  unique_variant v;
  v.get()->vt = VT_I4;
  v.get()->lVal = value;
  return extender_->SetPropVal(propertyNumber(name), v.get());
}

long AddInSession::property(const std::wstring& name) {
  unique_variant v;
  if (extender_->GetPropVal(propertyNumber(name), v.get()) != S_OK || v.type() != VT_I4) {
    ADD_FAILURE() << "property cannot be read";
    return -9999;
  }
  return v.get()->lVal;
}

HRESULT AddInSession::call(const std::wstring& method, std::initializer_list<Arg> args) {
  unique_safearray array = makeArgs(args);
  SAFEARRAY* raw = array.get();
  return extender_->CallAsProc(methodNumber(method), &raw);
}

HRESULT AddInSession::callFunction(const std::wstring& method, std::initializer_list<Arg> args,
                                   unique_variant& result) {
  unique_safearray array = makeArgs(args);
  SAFEARRAY* raw = array.get();
  return extender_->CallAsFunc(methodNumber(method), result.put(), &raw);
}

void AddInSession::release() {
  link_.reset();
  extender_.reset();
  initDone_.reset();
}

}  // namespace wine_tests
