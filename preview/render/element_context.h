#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/image/image_store.h"
#include "preview/job/command_stream.h"
#include "preview/preview.h"
#include "preview/render/placement.h"
#include "preview/text/code_page.h"
#include "preview/text/font_face.h"

namespace tagwright::preview {

// What drawing a label needs besides its commands; owned by the Previewer
// and kept from one label and job to the next.
struct RenderResources {
  int dotsPerMm = 8;
  FontFace* font = nullptr;  // nothing: texts are not drawn, with a note each
  std::string fontError;
  const CodePage* oem = nullptr;   // `A` and `Y`
  const CodePage* ansi = nullptr;  // `V`, `B`, `P`
  ImageStore* images = nullptr;
};

// One element command being drawn on a label.
struct ElementContext {
  Bitmap& label;
  int originX;  // where the label's (0, 0) lies on the picture (margin, offset)
  int originY;
  RenderResources& resources;
  std::vector<PreviewNote>& notes;
  const Command& command;

  void note(const std::string& text) const;
  // The command's first bytes, quoted and made printable, for notes.
  std::string quotedCommand() const;
  // The label position of an element's anchor at (x, y).
  Placement placementAt(int x, int y, int quarterTurns) const {
    return {originX + x, originY + y, quarterTurns};
  }
};

// A whole number in a range, or a note naming the field and nothing.
std::optional<int> fieldIn(const ElementContext& element, std::string_view field, int low, int high,
                           std::string_view name);

// A position field: any whole number a label could reach (what lies off
// the label is cut).
std::optional<int> positionField(const ElementContext& element, std::string_view field,
                                 std::string_view name);

// A rotation field: 0..3, with a trailing `I` for white on black.
struct Rotation {
  int quarterTurns = 0;
  bool whiteOnBlack = false;
};
std::optional<Rotation> rotationField(const ElementContext& element, std::string_view field);

// Printable text of a command's bytes for notes: control bytes as '.',
// bytes of no known code page as '?'.
std::string printable(std::string_view bytes, std::size_t limit = 40);

// The font heights in dots: fonts A..H at the printer's resolution.
int residentFontHeight(char font, int dotsPerMm);

}  // namespace tagwright::preview
