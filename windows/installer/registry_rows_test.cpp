#include "windows/installer/registry_rows.h"

#include <gtest/gtest.h>

#include <string>

namespace tagwright::com {
namespace {

const PackagedModule kModule{u"TheDll", u"THEDIR"};

RegistryScript parsed(std::u16string_view text) {
  RegistryScriptParse script = parseRegistryScript(text, {{u"MODULE", moduleMarker()}});
  EXPECT_TRUE(script) << (script ? "" : script.error().message);
  return script ? std::move(script).value() : RegistryScript{};
}

// Each value reaches the installer as text it writes back unchanged: its
// formatted-string syntax, a leading # and XML's specials are escaped, and
// %MODULE% becomes the reference to the packaged file.
TEST(PackageRegistryRows, WriteEveryValueAsTheScriptGivesIt) {
  struct Case {
    const char16_t* value;
    const char* row;
  };
  const Case cases[] = {
      {u"plain", "Value=\"plain\""},
      {u"%MODULE%", "Value=\"[#TheDll]\""},
      {u"\"%MODULE%\" /x", "Value=\"&quot;[#TheDll]&quot; /x\""},
      {u"[ProgramFilesFolder]", "Value=\"[\\[]ProgramFilesFolder[\\]]\""},
      {u"#1", "Value=\"##1\""},
      {u"a<b&c>d", "Value=\"a&lt;b&amp;c&gt;d\""},
      {u"{C1109BEC-EBD2-49B9-8A9C-B3E2C215828E}",
       "Value=\"{C1109BEC-EBD2-49B9-8A9C-B3E2C215828E}\""},
  };
  for (const Case& c : cases) {
    const std::u16string script =
        u"HKCR { NoRemove Key { Sub = s '" + std::u16string(c.value) + u"' } }";
    const Result<std::string> rows = wixClassRows(parsed(script), kModule);
    ASSERT_TRUE(rows) << rows.error();
    EXPECT_NE(rows.value().find(c.row), std::string::npos) << rows.value();
  }
}

TEST(PackageRegistryRows, GiveEveryKeyAndNamedValueInOrderWithOneKeyPath) {
  const Result<std::string> rows = wixClassRows(
      parsed(u"HKCR { A = s 'x' { val N = s 'y' B = s 'z' } NoRemove C { D = s 'w' } }"), kModule);
  ASSERT_TRUE(rows) << rows.error();
  const std::string& text = rows.value();
  const std::size_t a = text.find("Key=\"A\" KeyPath=\"yes\" Type=\"string\" Value=\"x\"");
  const std::size_t n = text.find("Key=\"A\" Name=\"N\" Type=\"string\" Value=\"y\"");
  const std::size_t b = text.find("Key=\"A\\B\" Type=\"string\" Value=\"z\"");
  const std::size_t d = text.find("Key=\"C\\D\" Type=\"string\" Value=\"w\"");
  ASSERT_NE(a, std::string::npos) << text;
  ASSERT_NE(n, std::string::npos) << text;
  ASSERT_NE(b, std::string::npos) << text;
  ASSERT_NE(d, std::string::npos) << text;
  EXPECT_TRUE(a < n && n < b && b < d) << text;
  EXPECT_EQ(text.find("KeyPath"), text.rfind("KeyPath")) << text;
}

// What the installer cannot write as the script means is refused, never
// written some other way.
TEST(PackageRegistryRows, RefuseWhatThePackageCannotWrite) {
  EXPECT_FALSE(wixClassRows(parsed(u"HKCR { NoRemove A { Bare } }"), kModule));
  EXPECT_FALSE(wixClassRows(parsed(u"HKCR { A = s '$(var.X)' }"), kModule));
  EXPECT_FALSE(forceRemovedKeys(parsed(u"HKCR { ForceRemove 'K[1]' = s 'x' }")));
}

TEST(PackageRegistryRows, ListTheKeysOwnedWhole) {
  const Result<std::string> owned = forceRemovedKeys(parsed(
      u"HKCR { A = s 'x' NoRemove CLSID { ForceRemove {G} = s 'y' { ForceRemove S = s 'z' } } }"));
  ASSERT_TRUE(owned) << owned.error();
  EXPECT_EQ(owned.value(), "CLSID\\{G}\nCLSID\\{G}\\S\n");
}

TEST(PackageRegistryRows, TypeLibraryAsRegisterTypeLibWritesIt) {
  const Result<std::string> rows = wixTypeLibraryRows({u"{L}", u"1.0", u"Name [x]"}, kModule);
  ASSERT_TRUE(rows) << rows.error();
  for (const char* row :
       {"Key=\"TypeLib\\{L}\\1.0\" KeyPath=\"yes\" Type=\"string\" Value=\"Name [\\[]x[\\]]\"",
        "Key=\"TypeLib\\{L}\\1.0\\FLAGS\" Type=\"string\" Value=\"8\"",
        "Key=\"TypeLib\\{L}\\1.0\\0\\win32\" Type=\"string\" Value=\"[#TheDll]\"",
        "Key=\"TypeLib\\{L}\\1.0\\HELPDIR\" Type=\"string\" Value=\"[THEDIR]\""}) {
    EXPECT_NE(rows.value().find(row), std::string::npos) << row << "\n" << rows.value();
  }
}

}  // namespace
}  // namespace tagwright::com
