#include "windows/com/variant_value.h"

#include <cstdint>
#include <limits>

#include "windows/com/unique_bstr.h"

namespace tagwright::com {
namespace {

// A VARIANT holding a reference to a VARIANT may in principle point to
// another such VARIANT; the chain is followed only this far.
constexpr int kMaxIndirection = 4;

ScriptValue fromUnsigned(std::uint64_t value) {
  if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    return ScriptValue::other();
  }
  return ScriptValue::otherInteger(static_cast<std::int64_t>(value));
}

ScriptValue readValue(const VARIANT& value, int depth) {
  const VARTYPE type = value.vt;
  if ((type & VT_ARRAY) != 0) return ScriptValue::other();
  if ((type & VT_BYREF) != 0) {
    if (value.byref == nullptr) return ScriptValue::other();
    switch (type & VT_TYPEMASK) {
      case VT_VARIANT:
        if (depth >= kMaxIndirection) return ScriptValue::other();
        return readValue(*value.pvarVal, depth + 1);
      case VT_I4: return ScriptValue::int32(*value.plVal);
      case VT_BSTR: return ScriptValue::text(std::u16string(bstrText(*value.pbstrVal)));
      case VT_R4: return ScriptValue::real(*value.pfltVal);
      case VT_R8: return ScriptValue::real(*value.pdblVal);
      case VT_BOOL: return ScriptValue::boolean(*value.pboolVal != VARIANT_FALSE);
      case VT_I1: return ScriptValue::otherInteger(*value.pcVal);
      case VT_I2: return ScriptValue::otherInteger(*value.piVal);
      case VT_I8: return ScriptValue::otherInteger(*value.pllVal);
      case VT_INT: return ScriptValue::otherInteger(*value.pintVal);
      case VT_UI1: return ScriptValue::otherInteger(*value.pbVal);
      case VT_UI2: return ScriptValue::otherInteger(*value.puiVal);
      case VT_UI4: return ScriptValue::otherInteger(*value.pulVal);
      case VT_UINT: return ScriptValue::otherInteger(*value.puintVal);
      case VT_UI8: return fromUnsigned(*value.pullVal);
      default: return ScriptValue::other();
    }
  }
  switch (type) {
    case VT_EMPTY: return ScriptValue();
    case VT_I4: return ScriptValue::int32(value.lVal);
    case VT_BSTR: return ScriptValue::text(std::u16string(bstrText(value.bstrVal)));
    case VT_R4: return ScriptValue::real(value.fltVal);
    case VT_R8: return ScriptValue::real(value.dblVal);
    case VT_BOOL: return ScriptValue::boolean(value.boolVal != VARIANT_FALSE);
    case VT_I1: return ScriptValue::otherInteger(value.cVal);
    case VT_I2: return ScriptValue::otherInteger(value.iVal);
    case VT_I8: return ScriptValue::otherInteger(value.llVal);
    case VT_INT: return ScriptValue::otherInteger(value.intVal);
    case VT_UI1: return ScriptValue::otherInteger(value.bVal);
    case VT_UI2: return ScriptValue::otherInteger(value.uiVal);
    case VT_UI4: return ScriptValue::otherInteger(value.ulVal);
    case VT_UINT: return ScriptValue::otherInteger(value.uintVal);
    case VT_UI8: return fromUnsigned(value.ullVal);
    default: return ScriptValue::other();
  }
}

}  // namespace

ScriptValue toScriptValue(const VARIANT& value) { return readValue(value, 0); }

void storeScriptValue(const ScriptValue& value, VARIANT& out) {
  if (value.isInt32()) {
    out.vt = VT_I4;
    out.lVal = value.asInt32();
  } else if (value.isText()) {
    out.bstrVal = makeBstr(value.asText()).release();
    out.vt = VT_BSTR;
  } else if (value.isReal()) {
    out.vt = VT_R8;
    out.dblVal = value.asReal();
  } else if (value.isBoolean()) {
    out.vt = VT_BOOL;
    out.boolVal = value.asBoolean() ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (value.isOtherInteger()) {
    out.vt = VT_I8;
    out.llVal = value.asOtherInteger();
  } else {
    out.vt = VT_EMPTY;
  }
}

}  // namespace tagwright::com
