#include "windows/addin/host_profile.h"

#include <string>

#include "windows/com/unique_bstr.h"
#include "windows/com/unique_variant.h"
#include "windows/com/variant_value.h"

namespace tagwright::com {
namespace {

// Keys travel as zero-terminated wide strings.
std::wstring wideKey(std::u16string_view key) { return std::wstring(key.begin(), key.end()); }

}  // namespace

void HostProfile::registerAs(std::u16string_view profileName) {
  unique_bstr name = makeBstr(profileName);
  static_cast<void>(profile_.RegisterProfileAs(name.get()));
}

bool HostProfile::read(std::u16string_view key, ScriptValue& value) {
  const std::wstring name = wideKey(key);
  unique_variant slot;
  // The slot goes out typed as a 32-bit integer holding the current value;
  // the host answers in that type, or in another one the core coerces.
  slot.get()->vt = VT_I4;
  slot.get()->lVal = value.isInt32() ? value.asInt32() : 0;
  if (profile_.Read(name.c_str(), slot.get(), nullptr) != S_OK) return false;
  value = toScriptValue(*slot.get());
  return true;
}

void HostProfile::write(std::u16string_view key, std::int32_t value) {
  const std::wstring name = wideKey(key);
  unique_variant slot;
  slot.get()->vt = VT_I4;
  slot.get()->lVal = value;
  static_cast<void>(profile_.Write(name.c_str(), slot.get()));
}

}  // namespace tagwright::com
