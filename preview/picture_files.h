#pragma once

#include <cctype>
#include <memory>
#include <ostream>
#include <string>

#include "preview/label_preview.h"
#include "preview/drawing_options.h"
#include "core/util/result.h"

namespace tagwright::cli {

// Pictures of labels as PNG files: STEM-N.png in the folder `folderOrFile`
// (made when missing), or the one file it names when it ends in .png (the
// input must then have exactly one label). Each file written is listed on
// `out` with its size in dots and millimetres and the copy count, followed
// by the preview's notes; labels that cannot be drawn and files that cannot
// be written are reported on `err`. Fails when the folder cannot be made.
Result<std::unique_ptr<LabelPreview>> makePictureFiles(const DrawingOptions& drawing,
                                                       const std::string& folderOrFile,
                                                       std::ostream& out, std::ostream& err);

// The file of picture `number` of the input `stem` in `folder`: STEM-N.png.
std::string picturePath(const std::string& folder, const std::string& stem, int number);

// Whether a path names a PNG file (ends with .png in any letter case).
inline bool endsWithPng(const std::string& path) {
  if (path.size() <= 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return tail == ".PNG";
}

// "464 x 320 dots, 58 x 40 mm", as pictures are listed.
std::string pictureSizeText(int widthDots, int heightDots, int dotsPerMm);

}  // namespace tagwright::cli
