#pragma once

#include <vector>

#include "preview/label_preview.h"
#include "check/finding.h"
#include "script/script_runner.h"

namespace tagwright {
class AddIn;
}

namespace tagwright::cli {

// Watches one script's run through the component for the check: every
// statement (StatementObserver) and every print job (handed to it as a
// LabelPreview would be, and never sent).
class CheckWatch : public StatementObserver, public LabelPreview {
 public:
  // Starts watching the linked component of an open session (null when the
  // session reaches it through COM); false when it cannot be watched.
  virtual bool attach(const AddIn* linkedComponent) = 0;
  // After the run: adds what only the script's end shows and hands out
  // every finding, in script order.
  virtual std::vector<Finding> finish() = 0;

  // The jobs are looked at, not drawn: nothing to start, end or fail.
  void startInput(std::string) override {}
  void endInput() override {}
  bool failed() const override { return false; }
};

}  // namespace tagwright::cli
