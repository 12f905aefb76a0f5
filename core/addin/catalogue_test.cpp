#include "core/addin/catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace tagwright {
namespace {

TEST(Catalogue, EveryEnglishAndRussianNameFindsItsOwnNumber) {
  for (std::int32_t n = 0; n < kPropertyCount; ++n) {
    const PropertyEntry* e = propertyEntry(n);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(findPropertyNumber(e->english), n);
    EXPECT_EQ(findPropertyNumber(e->russian), n);
    EXPECT_FALSE(findMethodNumber(e->english).has_value()) << "property name found as a method";
  }
  for (std::int32_t n = 0; n < kMethodCount; ++n) {
    const MethodEntry* e = methodEntry(n);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(findMethodNumber(e->english), n);
    EXPECT_EQ(findMethodNumber(e->russian), n);
  }
}

TEST(Catalogue, ResourceIdsAreDistinctAndInTheStringTableRange) {
  std::set<int> ids{kExtensionNameResource, kPageTitleResource};
  for (std::int32_t n = 0; n < kPropertyCount; ++n) ids.insert(propertyEntry(n)->resourceId);
  for (std::int32_t n = 0; n < kMethodCount; ++n) ids.insert(methodEntry(n)->resourceId);
  EXPECT_EQ(ids.size(), 33u);
  EXPECT_EQ(*ids.begin(), 100);
  EXPECT_EQ(*ids.rbegin(), 135);
}

TEST(Catalogue, NamesMatchExactlyAndCaseSensitively) {
  struct Case {
    std::u16string_view name;
    std::optional<std::int32_t> method;
  };
  const Case cases[] = {
      {u"StartLabel", 0},
      {u"НоваяЭтикетка", 0},
      {u"startlabel", std::nullopt},
      {u"StartLabel ", std::nullopt},
      {u" StartLabel", std::nullopt},
      {u"новаяэтикетка", std::nullopt},
      {u"PutBarcodePDF417", 9},
      {u"СформироватьШтрихкодPDF417", 9},
      {u"PrintToBuff", 7},
      {u"", std::nullopt},
      {u"InversRectangle", 4},
      {u"InverseRectangle", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(findMethodNumber(c.name), c.method) << std::string(c.name.begin(), c.name.end());
  }
  EXPECT_EQ(findPropertyNumber(u"IsEnabled"), 0);
  EXPECT_EQ(findPropertyNumber(u"GapLenght"), 15);
  EXPECT_FALSE(findPropertyNumber(u"GapLength").has_value());
  EXPECT_FALSE(findPropertyNumber(u"FeedLength").has_value());
  EXPECT_FALSE(findPropertyNumber(u"BlackMarkLength").has_value());
  EXPECT_FALSE(findPropertyNumber(u"Thermotransfer").has_value());
  EXPECT_EQ(findPropertyNumber(u"Termotransfer"), 20);
}

TEST(Catalogue, RussianNamesOfOneLengthDoNotCollide) {
  // Names of equal length would all read as question marks after a
  // conversion to a code page without Cyrillic; UTF-16 keeps them apart.
  EXPECT_EQ(findPropertyNumber(u"Резак"), 5);
  EXPECT_FALSE(findPropertyNumber(u"Резац").has_value());
  EXPECT_FALSE(findPropertyNumber(u"?????").has_value());
}

TEST(Catalogue, AliasSelectsLanguage) {
  const PropertyEntry* darkness = propertyEntry(3);
  EXPECT_EQ(catalogueName(darkness->english, darkness->russian, 0), u"Darkness");
  EXPECT_EQ(catalogueName(darkness->english, darkness->russian, 1), u"Яркость");
  EXPECT_EQ(catalogueName(darkness->english, darkness->russian, 2), u"");
  EXPECT_EQ(catalogueName(darkness->english, darkness->russian, -1), u"");
  EXPECT_EQ(catalogueResourceText(darkness->english, darkness->russian), u"Darkness,Яркость");
  EXPECT_EQ(propertyEntry(21), nullptr);
  EXPECT_EQ(propertyEntry(-1), nullptr);
  EXPECT_EQ(methodEntry(10), nullptr);
}

}  // namespace
}  // namespace tagwright
