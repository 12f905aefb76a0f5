#include "cli/check/check_resources.h"

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

CheckResources::CheckResources(const Options& options, const CodePages& pages)
    : componentPages(pages),
      ansiName(options.ansi),
      oemName(options.oem),
      ansi(openOrLatin1(options.ansi)),
      oem(openOrLatin1(options.oem)),
      dotsPerMm(options.dotsPerMm),
      images(options.images.value_or("")) {
  std::string error;
  font = preview::FontFace::open(options.font.value_or(preview::findDefaultFontFile()), error);
}

}  // namespace tagwright::cli
