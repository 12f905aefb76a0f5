#pragma once

#include <cstdint>
#include <set>

#include "core/settings/page_controls.h"
#include "core/settings/page_edits.h"
#include "core/settings/printer_settings.h"

namespace tagwright {

// The printer settings page, independent of any window system. It edits a
// working copy of the settings, fills a set of controls from it, reacts to
// what the user does with them, and sends the result to the edited object
// through its PropertyLink on Apply. The edited object may not offer the
// link; a null link then stands for it, and the page works on its own copy.
class SettingsPage {
 public:
  PrinterSettings& settings() { return settings_; }
  const PrinterSettings& settings() const { return settings_; }
  bool isDirty() const { return dirty_; }
  bool isActive() const { return controls_ != nullptr; }

  // The site told about dirty and clean changes; null tells nobody.
  void setSite(PageSite* site) { site_ = site; }

  // Binds the controls of a newly created dialog and fills them: first the
  // working copy is read from the edited object, when there is one. The page
  // is clean afterwards and the site is asked to look at it again.
  void activate(PageControls& controls, PageLinks& links, PropertyLink* edited);

  // Takes what the controls show into the working copy, so that a later
  // Apply still sends the user's changes, and lets go of the controls.
  void deactivate();

  // One event of a bound control. Events that the page's own writes cause
  // (an edit reporting the text the page has just put in) are ignored.
  void handle(int control, PageEvent event);

  // Sends the settings to the edited object (when there is one) and marks the
  // page clean. An edit still being typed in counts as if it had lost the
  // focus first. Without controls the working copy is sent.
  void apply(PropertyLink* edited);

 private:
  class OwnWrite;

  void fill();
  void switchMedia(std::int32_t labelType);
  void commitEdit(const PageEdit& edit);
  void commitTypedEdits();
  void clickStripper();
  void clickCutter();
  void enterCutterCount();
  PrinterSettings collect() const;
  std::int32_t selectionOr(int list, std::int32_t stored) const;

  void showNumber(int edit, std::int32_t value);
  void fillList(int list, std::int32_t first, std::int32_t count, std::int32_t selected);
  void markDirty();
  void markClean();
  void tell(PageStatus status);

  PageControls* controls_ = nullptr;
  PageLinks* links_ = nullptr;
  PageSite* site_ = nullptr;
  PrinterSettings settings_;
  bool dirty_ = false;
  int ownWrites_ = 0;
  // Edits typed in since their value was last taken into the working copy.
  std::set<int> typedEdits_;
};

}  // namespace tagwright
