#include "core/label/command_line.h"
#include "core/label/label_composer.h"
#include "core/label/wrapping_arithmetic.h"

namespace tagwright {

void LabelComposer::startLabel() {
  BodyText.clear();
  HeaderText.clear();
  const PrinterSettings& s = settings_;
  const char cr = kCommandEnd;

  if (s.LabelType == 0) {
    appendLine(HeaderText, "^Q%d,%d%c", s.LabelSize, s.LabelGap, cr);
  } else if (s.LabelType == 1) {
    appendLine(HeaderText, "^Q%d,0,%d%c", s.LabelSize, s.FeedLenght, cr);
  } else if (s.BlackMarkPosition >= 0) {
    appendLine(HeaderText, "^Q%d,%d,%d+%c", s.LabelSize, s.BlackMarkLenght, s.BlackMarkPosition,
               cr);
  } else {
    // The magnitude is taken in 64 bits so that the lowest value has one.
    appendLine(HeaderText, "^Q%d,%d,%lld-%c", s.LabelSize, s.BlackMarkLenght,
               -static_cast<long long>(s.BlackMarkPosition), cr);
  }
  appendLine(HeaderText, "^W%d%c", s.LabelWidth, cr);
  appendLine(HeaderText, "^S%d%c", wrapAdd(s.PrinterSpeed, 2), cr);
  if (s.MetodTransfer != 0) {
    appendLine(HeaderText, "^AT%c", cr);
  } else {
    appendLine(HeaderText, "^XSET,CODEPAGE,10%c", cr);
    appendLine(HeaderText, "^AD%c", cr);
  }
  appendLine(HeaderText, "^H%d%c", s.PrinterDarkness, cr);
  appendLine(HeaderText, "^R%d%c", s.LeftMargin, cr);
  if (s.TopMargin >= 0) {
    appendLine(HeaderText, "~Q+%d%c", s.TopMargin, cr);
  } else {
    appendLine(HeaderText, "~Q%d%c", s.TopMargin, cr);
  }
  appendLine(HeaderText, s.PrinterStriper > 0 ? "^O1%c" : "^O0%c", cr);
  appendLine(HeaderText, "^D%d%c", s.PrinterCutter, cr);
  appendLine(HeaderText, "^E%d%c", s.StopPosition, cr);
  appendLine(HeaderText, "^P1%c", cr);
  appendLine(HeaderText, s.LabelRotate > 0 ? "~R50%c" : "~R105%c", cr);
}

}  // namespace tagwright
