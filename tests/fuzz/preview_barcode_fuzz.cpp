// libFuzzer target over the barcode drawing: any type field, any widths and
// any data bytes are drawn or refused with a message, never crash or overrun.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "preview/barcode/barcode_drawing.h"

namespace {

// Small numbers from the input, so that the fuzzer reaches valid widths.
int takeSmall(const std::uint8_t*& data, std::size_t& size, int limit) {
  if (size == 0) return 1;
  const int value = *data % limit;
  ++data;
  --size;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tagwright::preview;
  if (size < 8) return 0;
  const bool pdf417 = (data[0] & 1) != 0;
  ++data;
  --size;
  const int a = takeSmall(data, size, 6);
  const int b = takeSmall(data, size, 12);
  const int c = takeSmall(data, size, 91);
  const int d = takeSmall(data, size, 31);
  const int e = takeSmall(data, size, 9);
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  SymbolDrawing drawing;
  if (pdf417) {
    const Pdf417Request request{a, b, c, d, e, bytes};
    drawing = drawPdf417(request);
    if (pdf417DataError(request) != drawing.error) std::abort();
  } else {
    LinearBarcodeRequest request;
    const std::size_t typeLength = bytes.size() > 1 && bytes[1] == '2' ? 2 : 1;
    request.type = bytes.substr(0, typeLength);
    request.data = bytes.substr(typeLength);
    request.narrow = a;
    request.wide = b;
    request.height = c;
    request.readable = (e & 1) != 0;
    drawing = drawLinearBarcode(request, d);
    const SymbolSize measured = linearBarcodeSize(request, d);
    if (measured.error != drawing.error) std::abort();
    if (drawing.error.empty() &&
        (measured.width != drawing.bars.width() || measured.height != drawing.bars.height())) {
      std::abort();
    }
  }
  if (drawing.error.empty() == drawing.bars.empty()) std::abort();
  return 0;
}
