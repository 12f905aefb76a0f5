// The exports of Tagwright.dll and its entry point: the four of a COM
// server, and the process device map and job watch of the programs that
// host it.
#include <windows.h>

#include <chrono>
#include <cwchar>
#include <map>
#include <string>

#include "addin_interfaces.h"
#include "core/text/utf8.h"
#include "core/transport/device_target.h"
#include "core/transport/print_abort.h"
#include "platform/win32/transport/device_entries.h"
#include "platform/win32/transport/job_watch.h"
#include "windows/com/com_barrier.h"
#include "windows/module/add_in_module.h"
#include "windows/module/class_factory.h"
#include "windows/module/process_devices.h"
#include "windows/module/registration.h"

using tagwright::com::addInModule;
using tagwright::com::guardComCall;

namespace {

// The module's application object: starts the module when the process
// loads it. Nothing needs ending at unload: the class factory is a static
// object, and the shared print services outlive the module on purpose.
class CAddInApp {
 public:
  bool initInstance(HINSTANCE instance) noexcept {
    // The abort state is made here, before any object or job can use it.
    static_cast<void>(tagwright::processPrintAbort());
    // Thread notifications stay on: the statically linked runtimes clean up
    // per-thread data of the pool threads that run print jobs through them.
    addInModule().attach(instance);
    return true;
  }
};

CAddInApp theApp;

void useTimeout(std::chrono::milliseconds& timeout, DWORD given) {
  if (given != 0) timeout = std::chrono::milliseconds(given);
}

HRESULT useProcessDevices(LPCWSTR entries, DWORD connectMs, DWORD busyMs, DWORD stallMs) {
  std::map<std::string, std::string> map;
  for (const wchar_t* entry = entries; entry != nullptr && *entry != L'\0';
       entry += std::wcslen(entry) + 1) {
    const std::string text = tagwright::toUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(entry), std::wcslen(entry)));
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return E_INVALIDARG;
    const std::string port = text.substr(0, equals);
    if (!tagwright::isMappablePortName(port)) return E_INVALIDARG;
    map[port] = text.substr(equals + 1);
  }
  tagwright::NetworkTimeouts timeouts;
  useTimeout(timeouts.connect, connectMs);
  useTimeout(timeouts.busy, busyMs);
  useTimeout(timeouts.stall, stallMs);
  tagwright::processDeviceMap().replace(std::move(map), timeouts);
  return S_OK;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) return theApp.initInstance(instance) ? TRUE : FALSE;
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(classId, __uuidof(CAddIn))) return CLASS_E_CLASSNOTAVAILABLE;
  return guardComCall(
      [&] { return tagwright::com::addInClassFactory().QueryInterface(iid, object); });
}

STDAPI DllCanUnloadNow() {
  return guardComCall([] { return addInModule().canUnload() ? S_OK : S_FALSE; });
}

STDAPI DllRegisterServer() {
  return guardComCall([] { return tagwright::com::registerServer(addInModule().instance()); });
}

STDAPI TagwrightUseProcessDevices(LPCWSTR entries, DWORD connectMs, DWORD busyMs, DWORD stallMs) {
  return guardComCall([&] { return useProcessDevices(entries, connectMs, busyMs, stallMs); });
}

STDAPI TagwrightWatchJobs(JobEndedFunction hook, void* context) {
  return guardComCall([&] {
    tagwright::processJobWatch().set(hook, context);
    return S_OK;
  });
}

STDAPI DllUnregisterServer() {
  return guardComCall([] { return tagwright::com::unregisterServer(addInModule().instance()); });
}

}  // extern "C"
