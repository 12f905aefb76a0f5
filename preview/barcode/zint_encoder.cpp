#include "preview/barcode/zint_encoder.h"

#include <zint.h>

#include <memory>

namespace tagwright::preview {
namespace {

struct ZintDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using ZintSymbol = std::unique_ptr<zint_symbol, ZintDeleter>;

// zint takes at most a few thousand characters for any symbology; refusing
// longer data here keeps the length an int.
constexpr std::size_t kMaxZintInput = 4096;

bool moduleIsDark(const zint_symbol& symbol, int row, int column) {
  const unsigned byte = symbol.encoded_data[row][column / 8];
  return ((byte >> (column % 8)) & 1U) != 0;
}

// zint's messages start with its own error number ("Error 323: Input too
// long"); the number means nothing to the reader.
std::string withoutErrorNumber(const char* message) {
  std::string text = message;
  if (text.rfind("Error ", 0) == 0 || text.rfind("Warning ", 0) == 0) {
    const std::size_t colon = text.find(": ");
    if (colon != std::string::npos) text.erase(0, colon + 2);
  }
  return text;
}

}  // namespace

ZintOutput encodeWithZint(const ZintInput& input) {
  ZintOutput output;
  if (input.data.size() > kMaxZintInput) {
    output.error = "the data is too long (" + std::to_string(input.data.size()) + " bytes)";
    return output;
  }
  ZintSymbol symbol(ZBarcode_Create());
  if (!symbol) {
    output.error = "zint could not make a symbol (out of memory)";
    return output;
  }
  symbol->symbology = input.symbology;
  symbol->option_1 = input.option1;
  symbol->option_2 = input.option2;
  symbol->option_3 = input.option3;
  symbol->input_mode = input.inputMode;
  const int result =
      ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(input.data.data()),
                      static_cast<int>(input.data.size()));
  if (result >= ZINT_ERROR) {
    output.error = withoutErrorNumber(symbol->errtxt);
    return output;
  }
  if (result != 0) output.warning = withoutErrorNumber(symbol->errtxt);
  output.text = reinterpret_cast<const char*>(symbol->text);
  output.rows.resize(static_cast<std::size_t>(symbol->rows));
  for (int row = 0; row < symbol->rows; ++row) {
    auto& modules = output.rows[static_cast<std::size_t>(row)];
    modules.resize(static_cast<std::size_t>(symbol->width));
    for (int column = 0; column < symbol->width; ++column) {
      modules[static_cast<std::size_t>(column)] = moduleIsDark(*symbol, row, column) ? 1 : 0;
    }
  }
  return output;
}

}  // namespace tagwright::preview
