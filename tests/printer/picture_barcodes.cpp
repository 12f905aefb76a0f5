// Reads the barcode on each picture the virtual printer drew, with
// zxing-cpp, for the shell tests: one line "FILE: TEXT" each. Exit status 1
// when a picture cannot be read or shows no barcode.
//   picture_barcodes FILE.png...
#include <iostream>

#include "preview/barcode/barcode_test_support.h"
#include "preview/png/png_file.h"

int main(int argc, char** argv) {
  int status = argc > 1 ? 0 : 2;
  for (int i = 1; i < argc; ++i) {
    const tagwright::preview::PngPicture picture =
        tagwright::preview::readPngThresholded(argv[i], 1 << 24);
    if (!picture.error.empty()) {
      std::cout << argv[i] << ": (" << picture.error << ")\n";
      status = 1;
      continue;
    }
    const std::optional<std::string> text = tagwright::preview::testing::scan(picture.image);
    std::cout << argv[i] << ": " << text.value_or("(nothing read)") << '\n';
    if (!text) status = 1;
  }
  return status;
}
