#pragma once

#include <windows.h>

namespace tagwright::com {

// Registers the class: runs the module's registration script (resource
// REGISTRY 102) in registering mode with %MODULE% standing for the module's
// full path, then registers the type library (resource TYPELIB 1). Returns
// the first failure, else S_OK.
HRESULT registerServer(HMODULE module);

// Runs the registration script in removal mode. The type library stays
// registered, since other components may share it. Always S_OK.
HRESULT unregisterServer(HMODULE module);

}  // namespace tagwright::com
