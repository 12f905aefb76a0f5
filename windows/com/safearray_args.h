#pragma once

#include <windows.h>
#include <oleauto.h>

#include "core/script/script_value.h"

namespace tagwright::com {

// The arguments of a method call, read from the host's one-dimensional
// SAFEARRAY of VARIANTs in index order. A null pointer, a null array, an
// array of more than one dimension or of anything but VARIANTs counts as no
// arguments at all, so that a malformed call can never read outside the
// host's memory.
ScriptArgs readScriptArgs(SAFEARRAY* const* params);

// Stores a 32-bit integer at index 0 of a one-dimensional SAFEARRAY of
// VARIANTs. Returns false, storing nothing, when the array is null or of
// another shape or element type, or index 0 lies outside its bounds.
bool storeFirstElement(SAFEARRAY* array, LONG value);

}  // namespace tagwright::com
