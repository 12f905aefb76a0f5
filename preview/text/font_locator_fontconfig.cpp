#include <fontconfig/fontconfig.h>

#include <string>

#include "core/util/unique_any.h"
#include "preview/text/font_locator.h"
#include "preview/util/utf8_path.h"

namespace tagwright::preview {
namespace {

constexpr const char* kFamily = "Liberation Sans";
constexpr const char* kDebianPath =
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

using Pattern = unique_resource<FcPattern*, &FcPatternDestroy>;

// The file fontconfig gives for the family, when the match really is that
// family (fontconfig always matches something).
std::string askFontconfig() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return {};
  std::string path;
  Pattern pattern(FcNameParse(reinterpret_cast<const FcChar8*>(kFamily)));
  if (pattern) {
    FcPatternAddString(pattern.get(), FC_STYLE, reinterpret_cast<const FcChar8*>("Regular"));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, pattern.get(), &result));
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match.get(), FC_FAMILY, 0, &family) == FcResultMatch &&
        FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch &&
        std::string(reinterpret_cast<const char*>(family)) == kFamily) {
      path = reinterpret_cast<const char*>(file);
    }
  }
  FcConfigDestroy(config);
  return path;
}

}  // namespace

std::string findDefaultFontFile() {
  std::string path = askFontconfig();
  if (!path.empty() && isRegularFile(path)) return path;
  if (isRegularFile(kDebianPath)) return kDebianPath;
  return {};
}

std::string missingDefaultFontAdvice() {
  return "neither fontconfig nor the Debian path has Liberation Sans (install "
         "fonts-liberation2, or name a font file)";
}

}  // namespace tagwright::preview
