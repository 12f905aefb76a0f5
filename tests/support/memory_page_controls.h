#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/page_controls.h"

namespace tagwright::testing {

// The controls of the settings page in memory, behaving the way the Windows
// dialog's controls do where the page relies on it: an edit reports every
// change of its text (also one made by the program), a click on a check box
// toggles it and one on a radio button checks it and unchecks the rest of its
// group, and a click or a focus change first takes the focus from the edit
// that had it.
class MemoryPageControls final : public PageControls {
 public:
  struct List {
    std::vector<std::u16string> entries;
    std::int32_t selection = -1;
  };
  struct Range {
    std::int32_t low = 0;
    std::int32_t high = 0;
  };

  // Where the controls report events; usually SettingsPage::handle.
  std::function<void(int, PageEvent)> onEvent;

  std::map<int, List> lists;
  std::map<int, bool> checks;
  std::map<int, std::u16string> texts;
  std::map<int, Range> spinRanges;
  std::map<int, bool> visible;  // a control never hidden reads as visible

  // PageControls
  void clearList(int list) override { lists[list] = List{}; }
  void addListEntry(int list, std::u16string_view text) override {
    lists[list].entries.emplace_back(text);
  }
  void selectListEntry(int list, std::int32_t index) override {
    List& l = lists[list];
    l.selection = (index >= 0 && static_cast<std::size_t>(index) < l.entries.size()) ? index : -1;
  }
  std::int32_t listSelection(int list) const override {
    auto it = lists.find(list);
    return it == lists.end() ? -1 : it->second.selection;
  }
  void setChecked(int button, bool checked) override { checks[button] = checked; }
  bool isChecked(int button) const override {
    auto it = checks.find(button);
    return it != checks.end() && it->second;
  }
  void setText(int control, std::u16string_view text) override {
    texts[control] = std::u16string(text);
    if (isEdit(control)) send(control, PageEvent::TextChanged);
  }
  std::u16string text(int control) const override {
    auto it = texts.find(control);
    return it == texts.end() ? std::u16string() : it->second;
  }
  void setSpinRange(int spin, std::int32_t low, std::int32_t high) override {
    spinRanges[spin] = {low, high};
  }
  void setVisible(int control, bool shown) override { visible[control] = shown; }

  // What the user does.
  void focus(int control) {
    if (control == focused_) return;
    const int left = focused_;
    focused_ = control;
    if (isEdit(left)) send(left, PageEvent::FocusLost);
    if (isEdit(control)) send(control, PageEvent::FocusGained);
  }
  void type(int edit, std::u16string_view text) {
    focus(edit);
    setText(edit, text);
  }
  void click(int button) {
    focus(button);
    if (const std::vector<int>* group = radioGroup(button)) {
      for (int other : *group) checks[other] = other == button;
    } else if (isCheckBox(button)) {
      checks[button] = !isChecked(button);
    }
    send(button, PageEvent::Clicked);
  }
  void select(int list, std::int32_t index) {
    focus(list);
    selectListEntry(list, index);
    send(list, PageEvent::SelectionChanged);
  }
  bool isVisible(int control) const {
    auto it = visible.find(control);
    return it == visible.end() || it->second;
  }
  int focused() const { return focused_; }

  static bool isEdit(int control) {
    return contains({205, 206, 209, 210, 211, 218, 222, 223}, control);
  }

 private:
  static bool contains(std::initializer_list<int> ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
  }
  static bool isCheckBox(int control) { return contains({203, 216, 221, 244}, control); }
  static const std::vector<int>* radioGroup(int control) {
    static const std::vector<std::vector<int>> groups{{248, 249}, {228, 229, 230}, {212, 213, 214}};
    for (const auto& g : groups) {
      if (std::find(g.begin(), g.end(), control) != g.end()) return &g;
    }
    return nullptr;
  }
  void send(int control, PageEvent event) {
    if (onEvent) onEvent(control, event);
  }

  int focused_ = 0;
};

}  // namespace tagwright::testing
