#pragma once

#include <cstdint>
#include <vector>

#include "preview/render/element_context.h"
#include "preview/state/printer_setup.h"

namespace tagwright::preview {

// Draws one label format: `start` is its `^L` command, `elements` the
// element commands up to its `E`, `setup` the printer's state at its `^L`.
// A label too big for a printer, or of more dots than `dotsAllowed`, comes
// back with an error and no picture.
LabelPicture renderLabel(const Command& start, const std::vector<Command>& elements,
                         const PrinterSetup& setup, RenderResources& resources,
                         std::int64_t dotsAllowed);

}  // namespace tagwright::preview
