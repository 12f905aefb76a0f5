// The generated add-in interface header includes this file for the OLE
// declarations its interfaces build on; the system headers provide them.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>
