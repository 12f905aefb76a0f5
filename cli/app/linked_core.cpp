#include "cli/app/linked_core.h"

#include "check/component_watch.h"
#include "preview/picture_files.h"

namespace tagwright::cli {

const CodePages& LinkedCore::pagesFor(const CodePageNames& names) {
  if (!pages_) pages_ = makePages_(names.ansi, names.oem);
  return *pages_;
}

Result<std::unique_ptr<LabelPreview>> LinkedCore::makePreview(const DrawingOptions& drawing,
                                                              const std::string& folderOrFile,
                                                              std::ostream& out,
                                                              std::ostream& err) const {
  return makePictureFiles(drawing, folderOrFile, out, err);
}

Result<std::unique_ptr<CheckWatch>> LinkedCore::makeCheckWatch(const DrawingOptions& drawing) {
  if (!checkResources_) {
    checkResources_ = std::make_unique<CheckResources>(drawing, pagesFor(drawing.pages));
  }
  return std::unique_ptr<CheckWatch>(std::make_unique<ComponentWatch>(*checkResources_));
}

}  // namespace tagwright::cli
