#include "windows/installer/registry_rows.h"

#include <string_view>

#include "core/text/utf8.h"

namespace tagwright::com {
namespace {

// A private-use character: never in a script, so it can stand for %MODULE%.
constexpr char16_t kModuleMarker = u'\uE000';

void appendXml(std::string& out, std::u16string_view text) {
  for (char c : toUtf8(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
}

class RowWriter {
 public:
  explicit RowWriter(const PackagedModule& module) : module_(module) {}

  Status key(const RegistryKey& key, const std::u16string& parent) {
    const std::u16string path = parent.empty() ? key.name : parent + u"\\" + key.name;
    if (key.defaultValue) {
      if (Status written = row(path, nullptr, *key.defaultValue); !written) return written;
    }
    for (const RegistryNamedValue& value : key.values) {
      if (Status written = row(path, &value.name, value.data); !written) return written;
    }
    // Registration creates every key of the script, a bare one too; the
    // installer creates keys only for the values below them.
    if (!key.defaultValue && key.values.empty() && key.subkeys.empty()) {
      return Status::failure("key " + toUtf8(path) + " has no value: a package cannot create it");
    }
    for (const RegistryKey& subkey : key.subkeys) {
      if (Status written = this->key(subkey, path); !written) return written;
    }
    return Status::success();
  }

  Status row(std::u16string_view key, const std::u16string* name, std::u16string_view value) {
    std::string k, n, v;
    if (Status s = formatted(key, k); !s) return s;
    if (name != nullptr) {
      if (Status s = formatted(*name, n); !s) return s;
    }
    if (Status s = formatted(value, v); !s) return s;
    // A value that starts with # would be read as a number or binary data;
    // ## keeps it a string that starts with one #.
    if (!v.empty() && v.front() == '#') v.insert(0, "#");
    out_ += "<RegistryValue Root=\"HKCR\" Key=\"" + k + "\"";
    if (!keyPathGiven_) out_ += " KeyPath=\"yes\"";
    keyPathGiven_ = true;
    if (name != nullptr) out_ += " Name=\"" + n + "\"";
    out_ += " Type=\"string\" Value=\"" + v + "\" />\n";
    return Status::success();
  }

  const std::string& text() const { return out_; }

 private:
  // Text as the installer's Formatted type gives it back unchanged: brackets
  // become the escapes [\[] and [\]], the module marker the file reference.
  Status formatted(std::u16string_view text, std::string& out) {
    if (text.find(u"$(") != std::u16string_view::npos) {
      return Status::failure("\"$(\" in " + toUtf8(text) + " would be expanded by WiX");
    }
    std::u16string escaped;
    for (char16_t c : text) {
      if (c == u'[') {
        escaped += u"[\\[]";
      } else if (c == u']') {
        escaped += u"[\\]]";
      } else if (c == kModuleMarker) {
        escaped += u"[#" + module_.fileId + u"]";
      } else {
        escaped += c;
      }
    }
    appendXml(out, escaped);
    return Status::success();
  }

  const PackagedModule& module_;
  std::string out_;
  bool keyPathGiven_ = false;
};

Status collectForceRemoved(const RegistryKey& key, const std::u16string& parent, std::string& out) {
  const std::u16string path = parent.empty() ? key.name : parent + u"\\" + key.name;
  if (key.removal == RegistryKey::Removal::ForceRemove) {
    if (path.find_first_of(u"[]'\"") != std::u16string::npos) {
      return Status::failure("key " + toUtf8(path) + " cannot be named in the package's tables");
    }
    out += toUtf8(path) + "\n";
  }
  for (const RegistryKey& subkey : key.subkeys) {
    if (Status collected = collectForceRemoved(subkey, path, out); !collected) return collected;
  }
  return Status::success();
}

}  // namespace

Result<std::string> forceRemovedKeys(const RegistryScript& script) {
  std::string out;
  for (const RegistryKey& key : script.classesRoot) {
    if (Status collected = collectForceRemoved(key, u"", out); !collected) {
      return Result<std::string>::failure(collected.error());
    }
  }
  return out;
}

std::u16string moduleMarker() { return std::u16string(1, kModuleMarker); }

Result<std::string> wixClassRows(const RegistryScript& script, const PackagedModule& module) {
  RowWriter writer(module);
  for (const RegistryKey& key : script.classesRoot) {
    if (Status written = writer.key(key, u""); !written) {
      return Result<std::string>::failure(written.error());
    }
  }
  return writer.text();
}

Result<std::string> wixTypeLibraryRows(const TypeLibraryRow& library,
                                       const PackagedModule& module) {
  // What RegisterTypeLib writes for a Win32 library in a file, with no help
  // file and no flags of its own: its name, FLAGS 8 (the library has a disk
  // image), the module for locale 0, and the module's folder as HELPDIR.
  RowWriter writer(module);
  const std::u16string root = u"TypeLib\\" + library.id + u"\\" + library.version;
  Status written = writer.row(root, nullptr, library.name);
  if (written) written = writer.row(root + u"\\FLAGS", nullptr, u"8");
  if (written) written = writer.row(root + u"\\0\\win32", nullptr, moduleMarker());
  if (!written) return Result<std::string>::failure(written.error());
  // The folder is a property reference, written as it is. The installer
  // gives folders with a closing backslash, which RegisterTypeLib leaves off.
  std::string rows = writer.text();
  rows += "<RegistryValue Root=\"HKCR\" Key=\"";
  appendXml(rows, root + u"\\HELPDIR");
  rows += "\" Type=\"string\" Value=\"";
  appendXml(rows, u"[" + module.directoryId + u"]");
  rows += "\" />\n";
  return rows;
}

}  // namespace tagwright::com
