#include "check/label_frame.h"

#include <vector>

#include "preview/assumptions.h"
#include "preview/job/command_stream.h"
#include "preview/state/label_geometry.h"
#include "preview/state/printer_setup.h"

namespace tagwright::cli {

LabelFrame labelFrameOf(std::string_view header, int dotsPerMm) {
  preview::PrinterSetup setup;
  std::vector<preview::PreviewNote> notes;
  for (const preview::Command& command : preview::splitCommands(header).commands) {
    if (command.line.front() == '^' || command.line.front() == '~') {
      preview::applySetupCommand(setup, command, notes);
    }
  }
  const preview::LabelSize size = preview::labelSizeOf(setup, dotsPerMm);
  LabelFrame frame;
  frame.widthDots = size.widthDots;
  frame.heightDots = size.heightDots;
  frame.widthMm = setup.widthMm;
  frame.heightMm = setup.lengthMm;
  frame.originX = preview::assumptions::leftMarginShiftDots(setup.leftMarginDots);
  frame.originY = preview::assumptions::verticalOffsetShiftDots(setup.verticalOffsetDots);
  frame.error = size.error;
  return frame;
}

}  // namespace tagwright::cli
