#include "preview/render/label_renderer.h"

#include <algorithm>
#include <cmath>

#include "preview/assumptions.h"
#include "preview/render/elements.h"
#include "preview/state/label_geometry.h"

namespace tagwright::preview {
namespace {

void drawElement(const ElementContext& element) {
  const std::string_view line = element.command.line;
  switch (line.front()) {
    case 'A': drawResidentText(element); return;
    case 'V': drawDownloadedText(element); return;
    case 'B': drawLinearBarcodeElement(element); return;
    case 'P': drawPdf417Element(element); return;
    case 'R': drawBox(element); return;
    case 'L': drawArea(element); return;
    case 'Y': drawStoredImage(element); return;
    case 'Q': drawInlineImage(element); return;
    default:
      element.note("not a command the printer knows; ignored (the printer ignores it too)");
      return;
  }
}

void mirror(Bitmap& picture) {
  for (int y = 0; y < picture.height(); ++y) {
    std::uint8_t* row = picture.mutableRow(y);
    std::reverse(row, row + picture.width());
  }
}

void invert(Bitmap& picture) {
  picture.fillRect(0, 0, picture.width() - 1, picture.height() - 1, PaintMode::Invert);
}

// Turning a picture by 180 degrees reverses the order of all its dots (the
// rows are stored one after the other).
void turnHalfway(Bitmap& picture) {
  if (picture.empty()) return;
  std::uint8_t* first = picture.mutableRow(0);
  std::reverse(first, first + static_cast<std::ptrdiff_t>(picture.width()) * picture.height());
}

// `^L` options: I inverts the whole label, M mirrors it.
struct LabelOptions {
  bool inverted = false;
  bool mirrored = false;
};

LabelOptions readOptions(const Command& start, std::vector<PreviewNote>& notes) {
  LabelOptions options;
  for (const char option : start.line.substr(2)) {
    if (option == 'I') {
      options.inverted = true;
    } else if (option == 'M') {
      options.mirrored = true;
    } else {
      notes.push_back({start.offset, "'" + printable(start.line) + "': label option '" +
                                         printable(std::string_view(&option, 1)) +
                                         "' is not known (I inverts, M mirrors); ignored"});
    }
  }
  return options;
}

// A note about a set-up command: at its offset when it is in this job, at
// the label's start when it came in an earlier one.
PreviewNote setupNote(const std::optional<std::size_t>& offset, const Command& start,
                      std::string text) {
  if (offset) return {*offset, std::move(text)};
  return {start.offset, std::move(text) + " (set by an earlier job)"};
}

}  // namespace

LabelPicture renderLabel(const Command& start, const std::vector<Command>& elements,
                         const PrinterSetup& setup, RenderResources& resources,
                         std::int64_t dotsAllowed) {
  LabelPicture picture;
  picture.copies = setup.copies;
  const LabelSize size = labelSizeOf(setup, resources.dotsPerMm);
  if (!size.error.empty()) {
    picture.error = size.error;
    picture.notes.push_back({start.offset, size.error});
    return picture;
  }
  const std::int64_t dots = static_cast<std::int64_t>(size.widthDots) * size.heightDots;
  if (dots > dotsAllowed) {
    picture.error = "the label, " + std::to_string(size.widthDots) + " x " +
                    std::to_string(size.heightDots) +
                    " dots, would take the job's pictures past the " + std::to_string(dotsAllowed) +
                    " dots still allowed for them (PreviewOptions::maxKeptDots): not drawn";
    picture.notes.push_back({start.offset, picture.error});
    return picture;
  }
  const LabelOptions options = readOptions(start, picture.notes);
  picture.image = Bitmap(size.widthDots, size.heightDots);
  const int originX = assumptions::leftMarginShiftDots(setup.leftMarginDots);
  const int originY = assumptions::verticalOffsetShiftDots(setup.verticalOffsetDots);
  if (originX != 0) {
    picture.notes.push_back(setupNote(setup.leftMarginOffset, start,
                                      "left margin: the picture moved " + std::to_string(originX) +
                                          " dots to the right (assumed)"));
  }
  if (originY != 0) {
    picture.notes.push_back(setupNote(setup.verticalOffsetOffset, start,
                                      "vertical offset: the picture moved " +
                                          std::to_string(std::abs(originY)) + " dots " +
                                          (originY > 0 ? "down" : "up") + " (assumed)"));
  }
  for (const Command& command : elements) {
    const ElementContext element{picture.image, originX,       originY,
                                 resources,     picture.notes, command};
    drawElement(element);
  }
  if (options.mirrored) mirror(picture.image);
  if (options.inverted) invert(picture.image);
  if (setup.turnValueMm &&
      assumptions::turnedHalfway(*setup.turnValueMm, std::lround(setup.widthMm))) {
    turnHalfway(picture.image);
    picture.notes.push_back(setupNote(setup.turnOffset, start,
                                      "~R" + std::to_string(*setup.turnValueMm) +
                                          " is less than the label's width: printed turned by "
                                          "180 degrees (assumed)"));
  }
  if (setup.labelSets > 1) {
    picture.notes.push_back(
        {start.offset, "printed in " + std::to_string(setup.labelSets) +
                           " label sets (^P): " + std::to_string(setup.labelSets) + " x " +
                           std::to_string(picture.copies) + " labels"});
  }
  std::stable_sort(picture.notes.begin(), picture.notes.end(),
                   [](const PreviewNote& a, const PreviewNote& b) { return a.offset < b.offset; });
  return picture;
}

}  // namespace tagwright::preview
