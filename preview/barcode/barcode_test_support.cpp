#include "preview/barcode/barcode_test_support.h"

#include <ZXing/ReadBarcode.h>

#include <vector>

namespace tagwright::preview::testing {

std::optional<std::string> scan(const Bitmap& picture, const ScanHints& hints) {
  std::vector<std::uint8_t> luminance(static_cast<std::size_t>(picture.width()) *
                                      static_cast<std::size_t>(picture.height()));
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint8_t* row = picture.row(y);
    for (int x = 0; x < picture.width(); ++x) {
      luminance[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width()) +
                static_cast<std::size_t>(x)] = row[x] != 0 ? 0 : 255;
    }
  }
  const ZXing::ImageView image(luminance.data(), picture.width(), picture.height(),
                               ZXing::ImageFormat::Lum);
  ZXing::DecodeHints decodeHints;
  decodeHints.setTryHarder(true).setTryRotate(true).setBinarizer(ZXing::Binarizer::FixedThreshold);
  decodeHints.setValidateCode39CheckSum(hints.code39CheckDigit);
  decodeHints.setValidateITFCheckSum(hints.itfCheckDigit);
  decodeHints.setReturnCodabarStartEnd(true);
  decodeHints.setEanAddOnSymbol(hints.eanAddOn ? ZXing::EanAddOnSymbol::Require
                                               : ZXing::EanAddOnSymbol::Ignore);
  const ZXing::Result result = ZXing::ReadBarcode(image, decodeHints);
  if (!result.isValid()) return std::nullopt;
  return result.text();
}

}  // namespace tagwright::preview::testing
