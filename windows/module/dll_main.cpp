// The four exports of Tagwright.dll and its entry point.
#include <windows.h>

#include "addin_interfaces.h"
#include "core/transport/print_abort.h"
#include "windows/com/com_barrier.h"
#include "windows/module/add_in_module.h"
#include "windows/module/class_factory.h"
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

STDAPI DllUnregisterServer() {
  return guardComCall([] { return tagwright::com::unregisterServer(addInModule().instance()); });
}

}  // extern "C"
