#include "preview/barcode/barcode_drawing.h"

namespace tagwright::preview {

SymbolDrawing drawLinearBarcode(const LinearBarcodeRequest& request,
                                int /*humanReadableFontHeight*/) {
  SymbolDrawing drawing;
  drawing.error = "barcode type " + request.type + " is not drawn yet";
  return drawing;
}

SymbolDrawing drawPdf417(const Pdf417Request& /*request*/) {
  SymbolDrawing drawing;
  drawing.error = "PDF417 is not drawn yet";
  return drawing;
}

}  // namespace tagwright::preview
