#include "windows/module/registry_script.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace tagwright::com {
namespace {

using Removal = RegistryKey::Removal;

// A registry in memory: key paths with their string values.
class MemoryRegistry final : public RegistryEditor {
 public:
  std::map<std::u16string, std::map<std::u16string, std::u16string>> keys;
  std::set<std::u16string> failing;  // operations on these paths fail with 5
  std::vector<std::u16string> log;

  long createKey(const std::u16string& path) override {
    log.push_back(u"create " + path);
    if (failing.count(path)) return 5;
    for (std::size_t at = path.find(u'\\'); at != std::u16string::npos;
         at = path.find(u'\\', at + 1)) {
      keys[path.substr(0, at)];
    }
    keys[path];
    return 0;
  }
  long setString(const std::u16string& path, const std::u16string& name,
                 const std::u16string& data) override {
    log.push_back(u"set " + path + u"[" + name + u"]");
    if (failing.count(path)) return 5;
    auto key = keys.find(path);
    if (key == keys.end()) return 2;
    key->second[name] = data;
    return 0;
  }
  long deleteTree(const std::u16string& path) override {
    log.push_back(u"tree " + path);
    if (failing.count(path)) return 5;
    for (auto it = keys.begin(); it != keys.end();) {
      const bool below = it->first == path || it->first.rfind(path + u'\\', 0) == 0;
      it = below ? keys.erase(it) : std::next(it);
    }
    return 0;
  }
  long deleteEmptyKey(const std::u16string& path) override {
    log.push_back(u"delete " + path);
    if (hasSubkeys(path)) return 5;
    return keys.erase(path) ? 0 : 2;
  }
  bool hasSubkeys(const std::u16string& path) override {
    auto next = keys.lower_bound(path + u'\\');
    return next != keys.end() && next->first.rfind(path + u'\\', 0) == 0;
  }
};

constexpr std::u16string_view kClassScript =
    uR"(
HKCR
{
  AddIn.Tagwright = s 'Tagwright Class'
  {
    CLSID = s '{C1109BEC-EBD2-49B9-8A9C-B3E2C215828E}'
  }
  NoRemove CLSID
  {
    ForceRemove {C1109BEC-EBD2-49B9-8A9C-B3E2C215828E} = s 'Tagwright Class'
    {
      ProgID = s 'AddIn.Tagwright'
      InprocServer32 = s '%MODULE%'
      {
        val ThreadingModel = s 'both'
      }
    }
  }
})";

constexpr char16_t kClassKey[] = u"CLSID\\{C1109BEC-EBD2-49B9-8A9C-B3E2C215828E}";

RegistryScript parsed(std::u16string_view text,
                      const RegistryVariables& variables = {{u"MODULE", u"C:\\x\\Tagwright.dll"}}) {
  RegistryScriptParse result = parseRegistryScript(text, variables);
  EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().message);
  return result.ok() ? std::move(result).value() : RegistryScript{};
}

TEST(RegistryScriptParse, ReadsKeysValuesAndRemovalFlags) {
  RegistryScript script = parsed(kClassScript);
  ASSERT_EQ(script.classesRoot.size(), 2u);

  const RegistryKey& progId = script.classesRoot[0];
  EXPECT_EQ(progId.name, u"AddIn.Tagwright");
  EXPECT_EQ(progId.removal, Removal::IfEmpty);
  EXPECT_EQ(progId.defaultValue, u"Tagwright Class");
  ASSERT_EQ(progId.subkeys.size(), 1u);
  EXPECT_EQ(progId.subkeys[0].defaultValue, u"{C1109BEC-EBD2-49B9-8A9C-B3E2C215828E}");

  const RegistryKey& clsid = script.classesRoot[1];
  EXPECT_EQ(clsid.removal, Removal::NoRemove);
  EXPECT_FALSE(clsid.defaultValue.has_value());
  ASSERT_EQ(clsid.subkeys.size(), 1u);
  const RegistryKey& classKey = clsid.subkeys[0];
  EXPECT_EQ(classKey.removal, Removal::ForceRemove);
  ASSERT_EQ(classKey.subkeys.size(), 2u);
  const RegistryKey& server = classKey.subkeys[1];
  EXPECT_EQ(server.defaultValue, u"C:\\x\\Tagwright.dll");
  EXPECT_EQ(server.values, (std::vector<RegistryNamedValue>{{u"ThreadingModel", u"both"}}));
}

TEST(RegistryScriptParse, QuotingVariablesAndKeywordCase) {
  RegistryScript script =
      parsed(u"hkey_classes_root { 'Odd Name' = S 'it''s 100%% %A%%B%' { VAL 'v x' = s '' } }",
             {{u"A", u"a"}, {u"B", u"b"}});
  ASSERT_EQ(script.classesRoot.size(), 1u);
  const RegistryKey& key = script.classesRoot[0];
  EXPECT_EQ(key.name, u"Odd Name");
  EXPECT_EQ(key.defaultValue, u"it's 100% ab");
  EXPECT_EQ(key.values, (std::vector<RegistryNamedValue>{{u"v x", u""}}));
}

TEST(RegistryScriptParse, RejectsMalformedScripts) {
  struct Case {
    const char* why;
    std::u16string_view text;
  };
  const Case cases[] = {
      {"other root", u"HKLM { A }"},
      {"missing open brace", u"HKCR A"},
      {"unclosed root", u"HKCR { A"},
      {"unclosed key", u"HKCR { A { B }"},
      {"unterminated quote", u"HKCR { A = s 'x }"},
      {"non-string value", u"HKCR { A = d '5' }"},
      {"value without quotes", u"HKCR { A = s x }"},
      {"val without equals", u"HKCR { A { val X s 'y' } }"},
      {"unknown variable", u"HKCR { A = s '%NOPE%' }"},
      {"unterminated variable", u"HKCR { A = s '%MODULE' }"},
      {"path in a name", u"HKCR { 'A\\B' }"},
      {"empty name", u"HKCR { '' }"},
  };
  for (const Case& c : cases) {
    RegistryScriptParse result = parseRegistryScript(c.text, {{u"MODULE", u"m"}});
    EXPECT_FALSE(result.ok()) << c.why;
  }
}

TEST(RegistryScriptApply, RegistersEveryKeyAndValue) {
  MemoryRegistry registry;
  ASSERT_EQ(applyRegistration(parsed(kClassScript), registry), 0);

  EXPECT_EQ(registry.keys[u"AddIn.Tagwright"][u""], u"Tagwright Class");
  EXPECT_EQ(registry.keys[u"AddIn.Tagwright\\CLSID"][u""],
            u"{C1109BEC-EBD2-49B9-8A9C-B3E2C215828E}");
  EXPECT_EQ(registry.keys[std::u16string(kClassKey) + u"\\ProgID"][u""], u"AddIn.Tagwright");
  const auto& server = registry.keys[std::u16string(kClassKey) + u"\\InprocServer32"];
  EXPECT_EQ(server.at(u""), u"C:\\x\\Tagwright.dll");
  EXPECT_EQ(server.at(u"ThreadingModel"), u"both");
}

TEST(RegistryScriptApply, ReplacesAForceRemoveKeyWhole) {
  MemoryRegistry registry;
  registry.createKey(std::u16string(kClassKey) + u"\\Stale\\Deeper");
  registry.createKey(u"CLSID\\{other}");
  ASSERT_EQ(applyRegistration(parsed(kClassScript), registry), 0);

  EXPECT_FALSE(registry.keys.count(std::u16string(kClassKey) + u"\\Stale"));
  EXPECT_TRUE(registry.keys.count(u"CLSID\\{other}"));
  EXPECT_TRUE(registry.keys.count(std::u16string(kClassKey) + u"\\ProgID"));
}

TEST(RegistryScriptApply, StopsAtTheFirstFailure) {
  MemoryRegistry registry;
  registry.failing.insert(u"AddIn.Tagwright\\CLSID");
  EXPECT_EQ(applyRegistration(parsed(kClassScript), registry), 5);
  EXPECT_EQ(registry.log.back(), u"create AddIn.Tagwright\\CLSID");
  EXPECT_FALSE(registry.keys.count(kClassKey));
}

TEST(RegistryScriptApply, RemovalKeepsSharedKeysAndForeignSubkeys) {
  MemoryRegistry registry;
  registry.createKey(u"CLSID\\{other}\\InprocServer32");
  RegistryScript script = parsed(kClassScript);
  ASSERT_EQ(applyRegistration(script, registry), 0);
  // Something else registered below the class key and below the ProgID.
  registry.createKey(std::u16string(kClassKey) + u"\\Implemented Categories");
  registry.createKey(u"AddIn.Tagwright\\Foreign");

  applyRemoval(script, registry);

  EXPECT_FALSE(registry.keys.count(kClassKey)) << "the class key goes whole";
  EXPECT_TRUE(registry.keys.count(u"CLSID"));
  EXPECT_TRUE(registry.keys.count(u"CLSID\\{other}\\InprocServer32"));
  EXPECT_FALSE(registry.keys.count(u"AddIn.Tagwright\\CLSID"));
  EXPECT_TRUE(registry.keys.count(u"AddIn.Tagwright")) << "kept for the foreign subkey";
}

TEST(RegistryScriptApply, RemovalDeletesTheProgIdWithItsSubkey) {
  MemoryRegistry registry;
  RegistryScript script = parsed(kClassScript);
  ASSERT_EQ(applyRegistration(script, registry), 0);
  applyRemoval(script, registry);
  EXPECT_FALSE(registry.keys.count(u"AddIn.Tagwright"));
  EXPECT_EQ(registry.keys.size(), 1u);  // CLSID alone
  // A second removal finds nothing to do and does not fail.
  applyRemoval(script, registry);
  EXPECT_EQ(registry.keys.size(), 1u);
}

}  // namespace
}  // namespace tagwright::com
