// Writes the package's COM registration as two WiX includes (the class,
// the type library), and the keys the script owns whole, one a line: the rows that the
// DLL's own registration script and type library produce when the DLL
// registers itself, so that the package and DllRegisterServer cannot differ.
//
//   registry_rows SCRIPT.rgs LIBRARY-ID LIBRARY-VERSION LIBRARY-NAME FILE-ID DIRECTORY-ID CLASS.wxi
//   TYPELIB.wxi
//                 FORCE-REMOVED.txt
//
// Runs on the build machine, from the same script file that is compiled
// into the DLL, parsed by the DLL's own parser.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "core/text/utf8.h"
#include "windows/installer/registry_rows.h"

namespace {

int fail(const std::string& message) {
  std::cerr << "registry_rows: " << message << "\n";
  return 1;
}

bool write(const char* path, const std::string& source, const std::string& rows) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      << "<!-- Generated at build time from " << source << ": do not edit. -->\n"
      << "<Include>\n"
      << rows << "</Include>\n";
  out.close();
  if (!out) fail(std::string("cannot write ") + path);
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tagwright;
  using namespace tagwright::com;
  if (argc != 10) {
    return fail(
        "usage: registry_rows SCRIPT LIBRARY-ID LIBRARY-VERSION LIBRARY-NAME FILE-ID "
        "DIRECTORY-ID CLASS-OUT TYPELIB-OUT FORCE-REMOVED-OUT");
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) return fail(std::string("cannot read ") + argv[1]);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const Result<std::u32string, Utf8Fault> decoded = decodeUtf8(bytes);
  if (!decoded) return fail(std::string(argv[1]) + " is not UTF-8");

  const RegistryScriptParse script =
      parseRegistryScript(toUtf16(decoded.value()), {{u"MODULE", moduleMarker()}});
  if (!script) {
    return fail(std::string(argv[1]) + ": " + script.error().message + " at offset " +
                std::to_string(script.error().offset));
  }
  const TypeLibraryRow library{utf8ToUtf16(argv[2]), utf8ToUtf16(argv[3]), utf8ToUtf16(argv[4])};
  const PackagedModule module{utf8ToUtf16(argv[5]), utf8ToUtf16(argv[6])};
  const Result<std::string> classRows = wixClassRows(script.value(), module);
  if (!classRows) return fail(classRows.error());
  const Result<std::string> libraryRows = wixTypeLibraryRows(library, module);
  if (!libraryRows) return fail(libraryRows.error());
  const Result<std::string> owned = forceRemovedKeys(script.value());
  if (!owned) return fail(owned.error());
  std::ofstream ownedOut(argv[9], std::ios::binary | std::ios::trunc);
  ownedOut << owned.value();
  ownedOut.close();
  if (!ownedOut) return fail(std::string("cannot write ") + argv[9]);
  if (!write(argv[7], argv[1], classRows.value()) ||
      !write(argv[8], "the type library of addin_interfaces.idl", libraryRows.value())) {
    return 1;
  }
  return 0;
}
