#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/result.h"
#include "preview/raster/bitmap.h"

namespace tagwright::preview {

struct PreviewOptions {
  int dotsPerMm = 8;                    // 8 (203 dpi) or 12 (300 dpi)
  std::string imageFolder;              // where `Y` images are looked up; empty: none
  std::string fontFile;                 // empty: the default sans-serif font
  std::string ansiCodePage = "CP1251";  // iconv names, as `run --ansi/--oem`
  std::string oemCodePage = "CP866";
  // The most dots renderJob keeps in the pictures of one job (1 byte a
  // dot); a label beyond it comes back with an error and no picture.
  // renderEachLabel keeps none and has no such limit.
  std::int64_t maxKeptDots = 1024LL * 1024 * 1024;
};

// Something the preview did not draw, or an assumption it applied, with the
// byte offset in the job of the command it is about.
struct PreviewNote {
  std::size_t offset = 0;
  std::string text;
};

// One label format of a job (`^L` ... `E`): its picture, exactly the
// label's width and height in dots, and how many copies the printer makes.
struct LabelPicture {
  Bitmap image;
  int copies = 1;
  std::string error;  // non-empty: the label could not be drawn (too big), image empty
  std::vector<PreviewNote> notes;
};

struct JobPreview {
  std::vector<LabelPicture> labels;
  std::vector<PreviewNote> notes;  // about commands outside a label format
};

// Renders printer jobs. The printer's set-up state (label size, margins,
// offsets, ...) persists from one job to the next, as it does in a printer.
class Previewer {
 public:
  explicit Previewer(PreviewOptions options);
  ~Previewer();
  Previewer(const Previewer&) = delete;
  Previewer& operator=(const Previewer&) = delete;

  // Any bytes: never throws for bad input, never allocates a label larger
  // than a printer can hold.
  JobPreview renderJob(std::string_view job);

  // The same, handing each label's picture to `sink` as soon as it is
  // drawn, in stream order, instead of keeping them all: a caller that
  // writes each picture and lets it go needs memory for one label at a
  // time, whatever the job's length. Returns the notes about commands
  // outside the label formats.
  std::vector<PreviewNote> renderEachLabel(std::string_view job,
                                           const std::function<void(LabelPicture&&)>& sink);

  int dotsPerMm() const;

  // The printer as it is switched on: the set-up state of earlier jobs
  // forgotten, the font, code pages and images kept (a caller drawing one
  // script after another, the designer, starts each afresh this way).
  void resetPrinter();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Writes a picture as a 1-bit PNG, black on white, with its resolution
// recorded so that viewers show it at its real size. The message of a
// failure, or nothing.
Status writePng(const Bitmap& image, int dotsPerMm, const std::string& path);

// The same PNG file's bytes, kept in memory (the designer sends them to the
// browser).
Result<std::string> encodePng(const Bitmap& image, int dotsPerMm);

}  // namespace tagwright::preview
