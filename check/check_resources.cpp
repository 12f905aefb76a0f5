#include "check/check_resources.h"

namespace tagwright::cli {
namespace {

preview::CodePage openOrLatin1(const std::string& name) {
  std::string error;
  if (std::optional<preview::CodePage> page = preview::CodePage::open(name, error)) {
    return std::move(*page);
  }
  return preview::CodePage::latin1();
}

}  // namespace

CheckResources::CheckResources(const DrawingOptions& drawing, const CodePages& pages)
    : componentPages(pages),
      ansiName(drawing.pages.ansi),
      oemName(drawing.pages.oem),
      ansi(openOrLatin1(drawing.pages.ansi)),
      oem(openOrLatin1(drawing.pages.oem)),
      dotsPerMm(drawing.dotsPerMm),
      images(drawing.images.value_or("")) {
  std::string error;
  font = preview::FontFace::open(drawing.font.value_or(preview::findDefaultFontFile()), error);
}

}  // namespace tagwright::cli
