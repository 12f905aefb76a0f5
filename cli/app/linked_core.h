#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "check/check_resources.h"
#include "check/check_watch.h"
#include "core/text/code_pages.h"
#include "core/util/result.h"
#include "preview/drawing_options.h"
#include "preview/label_preview.h"

namespace tagwright::cli {

// What a back end that links the component's core into the program makes
// the same way on every platform: the code pages of one command, and the
// preview and the check that draw and measure with them. Only the code
// pages themselves are the platform's (iconv, or Windows' conversions).
class LinkedCore {
 public:
  // Makes the converter for an "ANSI" and an "OEM" page name; throws
  // std::runtime_error for a name the platform does not know.
  using PageMaker =
      std::function<std::unique_ptr<CodePages>(const std::string& ansi, const std::string& oem)>;

  explicit LinkedCore(PageMaker makePages) : makePages_(std::move(makePages)) {}

  // The pages the linked component converts through. The first names given
  // count for the whole command; they outlive every session.
  const CodePages& pagesFor(const CodePageNames& names);
  // A converter of its own, for showing bytes (dump).
  std::unique_ptr<CodePages> codePages(const std::string& ansi, const std::string& oem) const {
    return makePages_(ansi, oem);
  }

  Result<std::unique_ptr<LabelPreview>> makePreview(const DrawingOptions& drawing,
                                                    const std::string& folderOrFile,
                                                    std::ostream& out, std::ostream& err) const;
  Result<std::unique_ptr<CheckWatch>> makeCheckWatch(const DrawingOptions& drawing);

 private:
  PageMaker makePages_;
  std::unique_ptr<CodePages> pages_;
  // Made for the first script a check command checks, kept for the others.
  std::unique_ptr<CheckResources> checkResources_;
};

}  // namespace tagwright::cli
