#include "check/settings_page_rule.h"

#include <array>
#include <string>
#include <vector>

#include "core/addin/catalogue.h"
#include "core/addin/property_values.h"
#include "core/settings/page_ids.h"
#include "core/settings/settings_page.h"
#include "core/text/utf8.h"

namespace tagwright::cli {
namespace {

// The page's controls kept in memory: only the lists matter here.
class ListsInMemory final : public PageControls {
 public:
  void clearList(int list) override { lists_[list].entries.clear(); }
  void addListEntry(int list, std::u16string_view text) override {
    lists_[list].entries.emplace_back(text);
  }
  void selectListEntry(int list, std::int32_t index) override {
    List& l = lists_[list];
    l.selected = index >= 0 && static_cast<std::size_t>(index) < l.entries.size() ? index : -1;
  }
  std::int32_t listSelection(int list) const override {
    auto found = lists_.find(list);
    return found == lists_.end() ? -1 : found->second.selected;
  }
  std::size_t entries(int list) const {
    auto found = lists_.find(list);
    return found == lists_.end() ? 0 : found->second.entries.size();
  }
  std::u16string entry(int list, std::size_t i) const { return lists_.at(list).entries.at(i); }

  void setChecked(int, bool) override {}
  bool isChecked(int) const override { return false; }
  void setText(int, std::u16string_view) override {}
  std::u16string text(int) const override { return {}; }
  void setSpinRange(int, std::int32_t, std::int32_t) override {}
  void setVisible(int, bool) override {}

 private:
  struct List {
    std::vector<std::u16string> entries;
    std::int32_t selected = -1;
  };
  std::map<int, List> lists_;
};

class NoLinks final : public PageLinks {
 public:
  void openWebPage() override {}
  void openSupportMail() override {}
};

struct PageList {
  int list;
  Property property;
  const char* what;
};

constexpr std::array<PageList, 4> kPageLists{{
    {page_id::kPortList, Property::NumberPort, "port"},
    {page_id::kSpeedList, Property::Speed, "speed"},
    {page_id::kDarknessList, Property::Darkness, "darkness"},
    {page_id::kBarcodeWidthList, Property::BarcodeWidth, "barcode width"},
}};

std::string shownRange(const ListsInMemory& controls, int list) {
  const std::size_t n = controls.entries(list);
  if (n == 0) return "no entries";
  return toUtf8(controls.entry(list, 0)) + " to " + toUtf8(controls.entry(list, n - 1));
}

}  // namespace

void checkSettingsPage(const PrinterSettings& stored,
                       const std::map<Property, SourcePosition>& lastWritten,
                       FindingList& findings) {
  ListsInMemory controls;
  NoLinks links;
  SettingsPage page;
  page.settings() = stored;
  page.activate(controls, links, nullptr);
  for (const PageList& shown : kPageLists) {
    auto written = lastWritten.find(shown.property);
    if (written == lastWritten.end() || controls.listSelection(shown.list) >= 0) continue;
    const std::u16string_view name =
        propertyEntry(static_cast<std::int32_t>(shown.property))->english;
    findings.add(rule::kSettingsPageHidden, written->second,
                 "the stored " + std::string(shown.what) + " " +
                     std::to_string(readProperty(stored, shown.property)) +
                     " is not in the settings page's list (" + shownRange(controls, shown.list) +
                     "): the page shows no " + shown.what + " for " + toUtf8(name));
  }
}

}  // namespace tagwright::cli
