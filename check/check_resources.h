#pragma once

#include <memory>
#include <string>

#include "preview/drawing_options.h"
#include "core/text/code_pages.h"
#include "preview/image/image_store.h"
#include "preview/text/code_page.h"
#include "preview/text/font_face.h"

namespace tagwright::cli {

// What every script's check looks things up in, made once for a check
// command: the component's code pages (what a character becomes), the
// preview's decoding of the printer bytes, its font and stored images, and
// the printer's resolution.
struct CheckResources {
  CheckResources(const DrawingOptions& drawing, const CodePages& componentPages);

  const CodePages& componentPages;
  std::string ansiName;
  std::string oemName;
  preview::CodePage ansi;
  preview::CodePage oem;
  int dotsPerMm;
  std::unique_ptr<preview::FontFace> font;  // null: texts are not measured
  preview::ImageStore images;
};

}  // namespace tagwright::cli
