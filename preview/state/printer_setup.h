#pragma once

#include <optional>
#include <vector>

#include "preview/assumptions.h"
#include "preview/job/command_stream.h"
#include "preview/preview.h"

namespace tagwright::preview {

// The part of the printer's set-up state that changes the picture, as the
// `^` and `~` commands leave it. It persists over the labels of a job and
// from one job to the next.
struct PrinterSetup {
  double lengthMm = assumptions::kDefaultLengthMm;  // `^Q`
  double widthMm = assumptions::kDefaultWidthMm;    // `^W`
  int leftMarginDots = 0;                           // `^R`
  int verticalOffsetDots = 0;                       // `~Q`
  std::optional<int> turnValueMm;                   // `~R`
  int copies = 1;                                   // `^C`, as the printer prints it
  int labelSets = 1;                                // `^P`
  // Where the commands that move or turn the picture are in the current
  // job, for the notes that say an assumption was applied; nothing when the
  // command came in an earlier job.
  std::optional<std::size_t> leftMarginOffset;
  std::optional<std::size_t> verticalOffsetOffset;
  std::optional<std::size_t> turnOffset;

  // A new job begins: offsets of the commands so far point into old jobs.
  void startJob() {
    leftMarginOffset.reset();
    verticalOffsetOffset.reset();
    turnOffset.reset();
  }
};

// Applies one set-up command (a line starting with `^` or `~`, but not
// `^L`) to the state. A command the preview knows but that does not change
// the picture (speed, darkness, ...) is checked and otherwise left alone;
// an unknown, malformed or out-of-range one gets a note.
void applySetupCommand(PrinterSetup& setup, const Command& command,
                       std::vector<PreviewNote>& notes);

}  // namespace tagwright::preview
