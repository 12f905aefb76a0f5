#include "check/symbol_rules.h"

#include "core/text/utf8.h"
#include "preview/barcode/barcode_drawing.h"
#include "preview/barcode/linear_symbology.h"
#include "preview/job/fields.h"

namespace tagwright::cli {
namespace {

int number(std::string_view field) { return preview::parseInteger(field).value_or(0); }

// The argument a message about the data points at: the data, else the call.
SourcePosition dataPosition(const Statement& s, std::size_t argument) {
  return argument < s.values.size() ? s.values[argument].position : s.position;
}

void checkLinear(const Statement& s, const WrittenElement& e, const CheckResources& r,
                 FindingList& findings) {
  const std::string_view type = e.fields[0];
  const std::string data = toUtf8(r.ansi.decode(e.fields[8]));
  const std::string error = preview::linearBarcodeDataError(type, data);
  if (error.empty()) return;
  if (!preview::linearTypeFor(type)) {
    findings.add(rule::kBarcodeType, dataPosition(s, 0), error + ": nothing is printed");
  } else {
    findings.add(rule::kBarcodeData, dataPosition(s, 5), error);
  }
}

void checkPdf417(const Statement& s, const WrittenElement& e, const CheckResources& r,
                 FindingList& findings) {
  const std::string error = preview::pdf417DataError(pdf417RequestOf(e, r));
  if (!error.empty()) findings.add(rule::kPdf417Fit, dataPosition(s, 7), error);
}

}  // namespace

void checkSymbol(const Statement& s, const WrittenElement& e, const CheckResources& r,
                 FindingList& findings) {
  if (e.layout->method == Method::PutBarcode) checkLinear(s, e, r, findings);
  if (e.layout->method == Method::PutBarcodePDF417) checkPdf417(s, e, r, findings);
}

preview::Pdf417Request pdf417RequestOf(const WrittenElement& e, const CheckResources& r) {
  preview::Pdf417Request request;
  request.moduleWidth = number(e.fields[2]);
  request.rowHeight = number(e.fields[3]);
  request.rows = number(e.fields[4]);
  request.columns = number(e.fields[5]);
  request.level = number(e.fields[6]);
  request.data = toUtf8(r.ansi.decode(e.fields[7]));
  return request;
}

}  // namespace tagwright::cli
