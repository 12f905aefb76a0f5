#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tagwright {

// The controls of the settings page, addressed by their dialog ids
// (core/settings/page_ids.h). The Windows dialog is one implementation; the
// tests use one in memory. Writes made through this interface may report
// back as events (an edit reports a change of its text, as a Windows edit
// does); the page knows its own writes and ignores those echoes.
class PageControls {
 public:
  virtual ~PageControls() = default;

  // Drop-down lists.
  virtual void clearList(int list) = 0;
  virtual void addListEntry(int list, std::u16string_view text) = 0;
  // An index outside the entries leaves the list without a selection.
  virtual void selectListEntry(int list, std::int32_t index) = 0;
  // -1 when nothing is selected.
  virtual std::int32_t listSelection(int list) const = 0;

  // Check boxes and radio buttons. Checking a radio button does not uncheck
  // the others of its group; the page sets every button of a group.
  virtual void setChecked(int button, bool checked) = 0;
  virtual bool isChecked(int button) const = 0;

  // The text of an edit or the caption of a static text.
  virtual void setText(int control, std::u16string_view text) = 0;
  virtual std::u16string text(int control) const = 0;

  // The range in which a spin box's arrows move its edit.
  virtual void setSpinRange(int spin, std::int32_t low, std::int32_t high) = 0;

  virtual void setVisible(int control, bool visible) = 0;
};

// What happened to a control, as the page reacts to it.
enum class PageEvent {
  Clicked,           // a button, check box or radio button was clicked
  SelectionChanged,  // a list's selection changed
  TextChanged,       // an edit's text changed
  FocusGained,       // an edit got the keyboard focus
  FocusLost,         // an edit lost the keyboard focus
};

// What the page tells its site. `None` is a status change with no flags:
// "look at me again", sent once the page has been filled.
enum class PageStatus { None, Dirty, Clean };

class PageSite {
 public:
  virtual ~PageSite() = default;
  virtual void statusChanged(PageStatus status) = 0;
};

// The two link buttons of the page: the product's web page and a new mail to
// support. The addresses belong to the platform's resources.
class PageLinks {
 public:
  virtual ~PageLinks() = default;
  virtual void openWebPage() = 0;
  virtual void openSupportMail() = 0;
};

}  // namespace tagwright
