#pragma once

#include <optional>
#include <string>

namespace tagwright::cli {

// The printer's code pages: "ANSI" for PutLoadedText and barcodes, "OEM"
// for PutText and PutImage; any name iconv knows.
struct CodePageNames {
  std::string ansi = "CP1251";
  std::string oem = "CP866";
};

// How pictures of labels are drawn, and how a check measures them: the
// printer's resolution, where stored images are found, the font and the
// code pages the text is decoded with.
struct DrawingOptions {
  int dotsPerMm = 8;
  std::optional<std::string> images;
  std::optional<std::string> font;
  CodePageNames pages;
};

}  // namespace tagwright::cli
