#pragma once

#include <string>

#include "core/util/result.h"
#include "windows/module/registry_script.h"

namespace tagwright::com {

// The type library that DllRegisterServer registers from the module, as the
// registry knows it: TypeLib\{id}\major.minor, named, with the module's path
// for the Win32 platform.
struct TypeLibraryRow {
  std::u16string id;       // {GUID}
  std::u16string version;  // "1.0"
  std::u16string name;
};

// Where the module is in the package: the File id whose path the installer
// writes wherever the script says %MODULE%, and the Directory id it lies in.
struct PackagedModule {
  std::u16string fileId;
  std::u16string directoryId;
};

// The installer's registry rows, as WiX RegistryValue elements under HKCR,
// one per default or named value, the first one marked as its component's
// key path: those of the registration script in the script's order, and
// those of the type library. Text that the installer would read as
// a formatted reference ([...], a leading #) is escaped, so each row writes
// exactly the value the script gives. Fails for a key that would have no row
// (a leaf key without values: the installer cannot create it bare) and for
// text that WiX's preprocessor would expand ("$(").
Result<std::string> wixClassRows(const RegistryScript& script, const PackagedModule& module);
Result<std::string> wixTypeLibraryRows(const TypeLibraryRow& library, const PackagedModule& module);

// The keys that the script owns whole (ForceRemove), as paths below HKCR,
// one a line: the package removes each on install before it writes its rows,
// as registration replaces them, so that nothing stale survives below them.
// Fails for a path the installer's tables would not take literally (one with
// brackets or quotes).
Result<std::string> forceRemovedKeys(const RegistryScript& script);

// The value of %MODULE% to parse the script with: a marker that
// wixClassRows turns into the file reference.
std::u16string moduleMarker();

}  // namespace tagwright::com
