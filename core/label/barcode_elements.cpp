#include <algorithm>

#include "core/label/argument_reader.h"
#include "core/label/command_line.h"
#include "core/label/label_composer.h"
#include "core/label/wrapping_arithmetic.h"

namespace tagwright {
namespace {

constexpr std::size_t kPdf417DataLimit = 1024;

// Some barcode types print only with certain narrow bar widths; the setting
// itself is corrected so that later barcodes and a read of the property see
// the width actually used.
void correctBarcodeWidth(std::int32_t& w, signed char typeLetter) {
  if (typeLetter == 'T') {
    if (w < 4 || w > 7) w = 4;
  } else if (typeLetter >= 'B' && typeLetter <= 'M') {
    if (w < 1 || w > 3) w = 1;
  }
}

std::int32_t wideBar(std::int32_t narrow, std::int32_t ratio) {
  if (ratio == 0) return wrapMul(narrow, 2);
  if (ratio == 1) return wrapMul(narrow, 3);
  return wrapMul(narrow, 5) / 2;
}

}  // namespace

void LabelComposer::putBarcode(const ScriptArgs& args) {
  ArgumentReader in(args, codePages_);
  const std::string type = in.upperCaseText();
  const std::int32_t x = std::max(in.number(), 0);
  const std::int32_t y = std::max(in.number(), 0);
  const std::int32_t height = std::clamp(in.number(), 24, 1200);
  const std::int32_t rotation = std::clamp(in.number(), 0, 3);
  std::string data = in.text();
  trimTrailingBlanks(data);
  if (data.empty()) data.assign(1, ' ');
  // Without a type letter there is no command to write.
  if (type.empty()) return;

  const char letter = type[0];
  correctBarcodeWidth(settings_.BarcodeWidth, static_cast<signed char>(letter));
  const std::int32_t narrow = wrapAdd(settings_.BarcodeWidth, 1);
  const std::int32_t wide = wideBar(narrow, settings_.BarcodeNarrow);
  const std::int32_t readable = settings_.BarcodeReadable;

  if ((letter == 'A' || letter == 'N' || letter == 'Q') && type.size() > 1 && type[1] == '2') {
    appendLine(BodyText, "B%c%c,%d,%d,%d,%d,%d,%d,%d,%s%c", letter, '2', x, y, narrow, wide, height,
               rotation, readable, data.c_str(), kCommandEnd);
  } else {
    appendLine(BodyText, "B%c,%d,%d,%d,%d,%d,%d,%d,%s%c", letter, x, y, narrow, wide, height,
               rotation, readable, data.c_str(), kCommandEnd);
  }
}

void LabelComposer::putBarcodePDF417(const ScriptArgs& args) {
  ArgumentReader in(args, codePages_);
  const std::int32_t x = std::max(in.number(), 0);
  const std::int32_t y = std::max(in.number(), 0);
  const std::int32_t size1 = in.number();
  const std::int32_t size2 = in.number();
  const std::int32_t rows = std::clamp(in.number(), 3, 90);
  const std::int32_t columns = std::clamp(in.number(), 1, 30);
  const std::int32_t level = std::clamp(in.number(), 0, 8);
  std::string data = in.text();
  trimTrailingBlanks(data);
  if (data.size() > kPdf417DataLimit) data.resize(kPdf417DataLimit);
  if (data.empty()) data.assign(1, ' ');
  appendLine(BodyText, "P%d,%d,%d,%d,%d,%d,%d,%s%c", x, y, size1, size2, rows, columns, level,
             data.c_str(), kCommandEnd);
}

}  // namespace tagwright
