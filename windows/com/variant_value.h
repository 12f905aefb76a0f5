#pragma once

#include <windows.h>
#include <oleauto.h>

#include "core/script/script_value.h"

namespace tagwright::com {

// What the core sees of a host VARIANT: a 32-bit integer, a text, a real, a
// boolean, another integer type, empty, or something it cannot read. A
// by-reference VARIANT is read through its reference; a null reference or an
// array reads as unreadable.
ScriptValue toScriptValue(const VARIANT& value);

// Writes a core value into `out`, which must hold nothing that needs freeing
// (freshly initialised or cleared). A value the host cannot be given in a
// VARIANT leaves it empty. Throws std::bad_alloc when a string cannot be made.
void storeScriptValue(const ScriptValue& value, VARIANT& out);

}  // namespace tagwright::com
