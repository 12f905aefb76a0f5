// What the Wine tests share: where the DLL and the port file are, creating
// the component by its ProgID, and building the host's argument arrays.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <variant>

#include "tests/wine/host_interfaces.h"
#include "windows/com/com_ptr.h"
#include "windows/com/unique_bstr.h"
#include "platform/win32/unique_resource.h"
#include "windows/com/unique_safearray.h"
#include "windows/com/unique_variant.h"

namespace wine_tests {

using tagwright::com::com_ptr;
using tagwright::com::unique_bstr;
using tagwright::com::unique_safearray;
using tagwright::com::unique_variant;
using unique_handle = tagwright::win32::unique_file_handle;

// Windows paths handed over by run.sh: the registered DLL and the file that
// the prefix's COM5 leads to.
std::wstring dllPath();
std::wstring portFilePath();

unique_bstr bstr(const std::wstring& text);
std::wstring text(BSTR value);

// The component created by its ProgID alone, as the host does it.
com_ptr<IUnknown> createByProgId();

// The module's own DllCanUnloadNow, once the component has loaded it.
HRESULT moduleCanUnloadNow();
// Polls DllCanUnloadNow until it answers S_OK; false when the time is up.
bool waitUntilUnloadable(std::chrono::milliseconds timeout);

// Method arguments: 32-bit integers and texts, in a one-dimensional
// SAFEARRAY of VARIANTs with lower bound 0.
using Arg = std::variant<long, std::wstring>;
unique_safearray makeArgs(std::initializer_list<Arg> args);

std::string readFileBytes(const std::wstring& path);
void truncateFile(const std::wstring& path);
// Polls the file until it holds at least `size` bytes; false on time-out.
bool waitForFileSize(const std::wstring& path, std::size_t size, std::chrono::milliseconds timeout);

// One add-in object driven through its language extension by name.
class AddInSession {
 public:
  AddInSession();
  host::IInitDone& initDone() { return *initDone_.get(); }
  host::ILanguageExtender& extender() { return *extender_.get(); }
  host::IPropertyLink& link() { return *link_.get(); }

  long propertyNumber(const std::wstring& name);
  long methodNumber(const std::wstring& name);
  HRESULT setProperty(const std::wstring& name, long value);
  long property(const std::wstring& name);
  HRESULT call(const std::wstring& method, std::initializer_list<Arg> args);
  // Runs a function; the returned VARIANT's type and value come back in `result`.
  HRESULT callFunction(const std::wstring& method, std::initializer_list<Arg> args,
                       unique_variant& result);
  void release();
  bool alive() const { return static_cast<bool>(initDone_); }

 private:
  com_ptr<host::IInitDone> initDone_;
  com_ptr<host::ILanguageExtender> extender_;
  com_ptr<host::IPropertyLink> link_;
};

}  // namespace wine_tests
