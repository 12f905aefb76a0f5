// Compares two label pictures: exits 0 when they have the same size and
// differ in at most TOLERANCE of their pixels (a fraction, 0.002 by
// default), 1 when they differ more, 2 when one cannot be read.
//   picture_diff EXPECTED.png ACTUAL.png [TOLERANCE]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "preview/png/png_file.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: picture_diff EXPECTED.png ACTUAL.png [TOLERANCE]\n");
    return 2;
  }
  const double tolerance = argc == 4 ? std::atof(argv[3]) : 0.002;
  constexpr long long kMaxPixels = 64LL * 1024 * 1024;
  using tagwright::preview::readPngThresholded;
  const auto expected = readPngThresholded(argv[1], kMaxPixels);
  const auto actual = readPngThresholded(argv[2], kMaxPixels);
  for (const auto* picture : {&expected, &actual}) {
    if (!picture->error.empty()) {
      std::fprintf(stderr, "picture_diff: %s\n", picture->error.c_str());
      return 2;
    }
  }
  const auto& a = expected.image;
  const auto& b = actual.image;
  if (a.width() != b.width() || a.height() != b.height()) {
    std::printf("size %d x %d, expected %d x %d\n", b.width(), b.height(), a.width(), a.height());
    return 1;
  }
  long long differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) differing += a.black(x, y) != b.black(x, y);
  }
  const double share =
      static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
  std::printf("%lld pixels differ (%.3f %%)\n", differing, share * 100);
  return share <= tolerance ? 0 : 1;
}
