#pragma once

#include <windows.h>
#include <oleauto.h>

#include "platform/win32/unique_resource.h"

namespace tagwright::com {

// A SAFEARRAY, destroyed (with every element in it) when its owner goes.
using unique_safearray = win32::unique_resource<SAFEARRAY*, &::SafeArrayDestroy>;

}  // namespace tagwright::com
