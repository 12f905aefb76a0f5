// libFuzzer entry point over the preview's stream parser and renderer: any
// bytes, split at the first NUL into two jobs for one previewer (so that
// the set-up state carried from one job to the next is exercised), must
// render without a crash, within the label size limit, with every note
// pointing into its job.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "preview/preview.h"
#include "preview/text/font_face.h"

namespace {

void check(const tagwright::preview::JobPreview& preview, std::size_t jobSize) {
  for (const auto& note : preview.notes) {
    if (note.offset > jobSize) __builtin_trap();
  }
  for (const auto& label : preview.labels) {
    const long long dots = static_cast<long long>(label.image.width()) * label.image.height();
    if (dots > 64LL * 1024 * 1024) __builtin_trap();
    if (label.error.empty() == label.image.empty()) __builtin_trap();
    for (const auto& note : label.notes) {
      if (note.offset > jobSize) __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string font = tagwright::preview::findDefaultFontFile();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t split = bytes.find('\0');
  const std::string_view first = bytes.substr(0, split);
  const std::string_view second =
      split == std::string_view::npos ? std::string_view{} : bytes.substr(split + 1);

  tagwright::preview::PreviewOptions options;
  options.dotsPerMm = size % 2 == 0 ? 8 : 12;
  options.fontFile = font;
  // A few bytes can ask for a 64 M dot label: 8 M dots of pictures a job
  // keep each input's time and memory bounded (the size limits themselves
  // are unit-tested).
  options.maxKeptDots = 8LL * 1024 * 1024;
  tagwright::preview::Previewer previewer(options);
  check(previewer.renderJob(first), first.size());
  check(previewer.renderJob(second), second.size());
  return 0;
}
