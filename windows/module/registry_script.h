#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/result.h"

namespace tagwright::com {

// A registration script: the keys and string values a COM server writes
// under HKEY_CLASSES_ROOT, and how each key is treated on removal. The text
// form is the customary one:
//
//   HKCR
//   {
//     NoRemove CLSID
//     {
//       ForceRemove {...} = s 'Name'
//       {
//         InprocServer32 = s '%MODULE%'
//         {
//           val ThreadingModel = s 'both'
//         }
//       }
//     }
//   }
//
// Tokens are separated by blanks. Names are bare words (a key may be named
// {GUID}) or quoted with single quotes; values are strings (`s`) in single
// quotes, with '' for a quote. %NAME% in a value is replaced
// by a variable; %% stands for one percent sign.
struct RegistryNamedValue {
  std::u16string name;
  std::u16string data;
  bool operator==(const RegistryNamedValue&) const = default;
};

struct RegistryKey {
  enum class Removal {
    // Removed on unregistration once nothing else is left under it.
    IfEmpty,
    // Shared with others: never removed, only what the script puts under it.
    NoRemove,
    // Owned whole: replaced on registration, removed with everything below.
    ForceRemove,
  };
  std::u16string name;
  Removal removal = Removal::IfEmpty;
  std::optional<std::u16string> defaultValue;
  std::vector<RegistryNamedValue> values;
  std::vector<RegistryKey> subkeys;
  bool operator==(const RegistryKey&) const = default;
};

struct RegistryScript {
  // The keys directly under HKEY_CLASSES_ROOT.
  std::vector<RegistryKey> classesRoot;
};

using RegistryVariables = std::map<std::u16string, std::u16string>;

struct RegistryScriptError {
  std::size_t offset;  // in UTF-16 units from the start of the text
  std::string message;
};

// Parses a script; returns the error instead when the text is malformed, uses
// a root other than HKCR, or names a variable that is not given.
using RegistryScriptParse = Result<RegistryScript, RegistryScriptError>;
RegistryScriptParse parseRegistryScript(std::u16string_view text,
                                        const RegistryVariables& variables);

// The operations a script needs of the registry, with keys given as paths
// below HKEY_CLASSES_ROOT ("CLSID\\{...}\\InprocServer32"). Results are
// Windows error codes (0 on success).
class RegistryEditor {
 public:
  virtual ~RegistryEditor() = default;
  virtual long createKey(const std::u16string& path) = 0;
  // An empty value name sets the key's default value.
  virtual long setString(const std::u16string& path, const std::u16string& valueName,
                         const std::u16string& data) = 0;
  // Removes a key with everything below it; a missing key is no error.
  virtual long deleteTree(const std::u16string& path) = 0;
  // Removes a key that has no subkeys, with its values.
  virtual long deleteEmptyKey(const std::u16string& path) = 0;
  virtual bool hasSubkeys(const std::u16string& path) = 0;
};

// Writes every key and value of the script. ForceRemove keys are deleted
// first so that they are replaced whole. Stops at the first failure and
// returns its code.
long applyRegistration(const RegistryScript& script, RegistryEditor& editor);

// Removes what the script registered: ForceRemove keys with everything below
// them, other keys once nothing is left under them, NoRemove keys never.
// Failures do not stop the removal.
void applyRemoval(const RegistryScript& script, RegistryEditor& editor);

}  // namespace tagwright::com
