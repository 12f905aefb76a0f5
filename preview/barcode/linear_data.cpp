#include "preview/barcode/linear_data.h"

#include <zint.h>

#include "preview/barcode/barcode_assumptions.h"
#include "preview/barcode/check_digits.h"
#include "preview/barcode/data_messages.h"

namespace tagwright::preview {
namespace assume = barcode_assumptions;
namespace {

struct EanUpcShape {
  std::string_view mainName;  // "EAN-13"
  std::size_t digits;         // without check digit
  int zintSymbology;
};

EanUpcShape shapeOf(Symbology symbology) {
  switch (symbology) {
    case Symbology::Ean8: return {"EAN-8", 7, BARCODE_EANX};
    case Symbology::Ean13: return {"EAN-13", 12, BARCODE_EANX};
    case Symbology::UpcA: return {"UPC-A", 11, BARCODE_UPCA};
    default: return {"UPC-E", 6, BARCODE_UPCE};
  }
}

int addOnModuleCount(int addOnDigits) { return addOnDigits == 2 ? 20 : 47; }

std::string takesText(const LinearType& type, const EanUpcShape& shape) {
  const bool upcE = type.symbology == Symbology::UpcE;
  const std::size_t extra = static_cast<std::size_t>(type.addOnDigits);
  auto counts = [&](std::size_t add) {
    auto count = [&](std::size_t n) { return std::to_string(n + add); };
    return upcE ? count(6) + ", " + count(7) + " or " + count(8)
                : count(shape.digits) + " or " + count(shape.digits + 1);
  };
  std::string takes = counts(extra) + " digits";
  if (extra > 0) {
    takes += " (" + std::string(shape.mainName) + "'s " + counts(0) + ", then the " +
             std::to_string(extra) + " add-on digits)";
  } else if (upcE) {
    takes += " (7 and 8 start with the number system, 0 or 1)";
  }
  return takes;
}

PreparedLinearData prepareEanUpc(const LinearType& type, std::string_view data) {
  PreparedLinearData prepared;
  const EanUpcShape shape = shapeOf(type.symbology);
  const std::size_t addOn = static_cast<std::size_t>(type.addOnDigits);
  const bool upcE = type.symbology == Symbology::UpcE;
  const std::size_t mainLength = data.size() >= addOn ? data.size() - addOn : 0;
  const bool lengthFits = upcE ? (mainLength >= 6 && mainLength <= 8)
                               : (mainLength == shape.digits || mainLength == shape.digits + 1);
  if (!allDigits(data) || data.size() < addOn || !lengthFits) {
    prepared.error = digitsProblem(type.name, takesText(type, shape), data);
    return prepared;
  }
  const std::string_view main = data.substr(0, mainLength);
  std::string zintMain;
  if (upcE) {
    const char numberSystem = mainLength == 6 ? '0' : main[0];
    if (numberSystem != '0' && numberSystem != '1') {
      prepared.error = std::string(type.name) + " number system is 0 or 1; " + quoted(main) +
                       " starts with " + numberSystem;
      return prepared;
    }
    const std::string_view six = main.substr(mainLength == 6 ? 0 : 1, 6);
    if (mainLength == 8) {
      const std::string upcA = upcEToUpcA(numberSystem, six);
      const char expected = gs1CheckDigit(upcA);
      if (main.back() != expected) {
        prepared.error = "UPC-E check digit is wrong: " + quoted(main) + " ends in " + main.back() +
                         "; it stands for the UPC-A number " + upcA + ", whose check digit is " +
                         expected;
        return prepared;
      }
    }
    zintMain = std::string(1, numberSystem) + std::string(six);
  } else {
    if (mainLength == shape.digits + 1) {
      const char expected = gs1CheckDigit(main.substr(0, shape.digits));
      if (main.back() != expected) {
        prepared.error = wrongCheckDigit(shape.mainName, main, expected);
        return prepared;
      }
    }
    zintMain = std::string(main.substr(0, shape.digits));
  }
  prepared.zint.symbology = shape.zintSymbology;
  prepared.zint.data = zintMain;
  prepared.readableFromZint = assume::kReadableShowsEanUpcCheckDigit;
  prepared.readable = std::string(main);
  if (addOn > 0) {
    prepared.zint.data += "+" + std::string(data.substr(mainLength));
    prepared.zint.option2 = assume::kAddOnGapModules;
    prepared.addOnReadable = std::string(data.substr(mainLength));
    prepared.addOnModules = addOnModuleCount(type.addOnDigits);
    prepared.addOnGapModules = assume::kAddOnGapModules;
  }
  return prepared;
}

PreparedLinearData refusedEmpty(const LinearType& type) {
  PreparedLinearData prepared;
  prepared.error = std::string(type.name) + " takes at least one character; the data is empty";
  return prepared;
}

// The data goes to zint as it is and is the human-readable text too.
void encodeAs(PreparedLinearData& prepared, int zintSymbology, std::string_view data) {
  prepared.zint.symbology = zintSymbology;
  prepared.zint.data = std::string(data);
  prepared.readable = std::string(data);
}

constexpr std::string_view kCode39Set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
constexpr std::string_view kCodabarInner = "0123456789-$:/.+";
constexpr std::string_view kCodabarStartStop = "ABCD";

PreparedLinearData prepareCode39(const LinearType& type, std::string_view data) {
  if (data.empty()) return refusedEmpty(type);
  PreparedLinearData prepared;
  for (char c : data) {
    if (kCode39Set.find(c) == std::string_view::npos) {
      prepared.error = std::string(type.name) +
                       " carries digits, upper-case letters, space and - . $ / + %; " +
                       quoted(data) + " has '" + std::string(1, c) + "'";
      return prepared;
    }
  }
  prepared.zint.symbology = BARCODE_CODE39;
  prepared.zint.option2 = type.checkDigit ? 1 : 0;
  prepared.zint.data = std::string(data);
  prepared.readable = std::string(data);
  return prepared;
}

PreparedLinearData prepareInterleaved(const LinearType& type, std::string_view data) {
  PreparedLinearData prepared;
  const bool wantOdd = type.checkDigit && assume::kInterleavedCheckNeedsOddCount;
  const std::string takes = wantOdd ? "an odd number of digits (the check digit makes it even)"
                                    : "an even number of digits";
  if (!allDigits(data) || data.empty()) {
    prepared.error = digitsProblem(type.name, takes, data);
    return prepared;
  }
  if ((data.size() % 2 == 1) != wantOdd) {
    prepared.error = std::string(type.name) + " takes " + takes + "; " + quoted(data) + " has " +
                     std::to_string(data.size());
    return prepared;
  }
  prepared.zint.symbology = BARCODE_C25INTER;
  prepared.zint.option2 = type.checkDigit ? 1 : 0;
  prepared.zint.data = std::string(data);
  prepared.readable = std::string(data);
  return prepared;
}

PreparedLinearData prepareCodabar(const LinearType& type, std::string_view data) {
  PreparedLinearData prepared;
  const std::string takes =
      "a start character A, B, C or D, then digits and - $ : / . +, then a stop character A, "
      "B, C or D";
  if (data.size() < 3 || kCodabarStartStop.find(data.front()) == std::string_view::npos ||
      kCodabarStartStop.find(data.back()) == std::string_view::npos) {
    prepared.error = std::string(type.name) + " takes " + takes + "; " + quoted(data) +
                     (data.size() < 3 ? " is too short" : " does not start and end with one");
    return prepared;
  }
  for (char c : data.substr(1, data.size() - 2)) {
    if (kCodabarInner.find(c) == std::string_view::npos) {
      prepared.error = std::string(type.name) + " takes " + takes + "; " + quoted(data) + " has '" +
                       std::string(1, c) + "' inside";
      return prepared;
    }
  }
  encodeAs(prepared, BARCODE_CODABAR, data);
  return prepared;
}

PreparedLinearData prepareCode93(const LinearType& type, std::string_view data) {
  if (data.empty()) return refusedEmpty(type);
  PreparedLinearData prepared;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (static_cast<unsigned char>(data[i]) > 0x7F) {
      prepared.error = std::string(type.name) + " carries ASCII characters only; " + quoted(data) +
                       " has '" + utf8CharacterAt(data, i) + "'";
      return prepared;
    }
  }
  encodeAs(prepared, BARCODE_CODE93, data);
  return prepared;
}

PreparedLinearData prepareCode128(const LinearType& type, std::string_view data) {
  if (data.empty()) return refusedEmpty(type);
  PreparedLinearData prepared;
  if (const std::string beyond = firstBeyondLatin1(data); !beyond.empty()) {
    prepared.error = std::string(type.name) + " carries ASCII and Latin-1 characters only; " +
                     quoted(data) + " has " +
                     (beyond == "invalid UTF-8" ? beyond : "'" + beyond + "'");
    return prepared;
  }
  prepared.zint.symbology = BARCODE_CODE128;
  prepared.zint.inputMode = UNICODE_MODE;
  prepared.zint.data = std::string(data);
  prepared.readable = std::string(data);
  if (assume::kCode128VariantsDrawnAutomatic &&
      (type.subsetsInData || type.symbology == Symbology::Rps128)) {
    prepared.notes.push_back(std::string(type.name) +
                             " drawn as Code 128 with subsets chosen automatically: the bars "
                             "may differ from the printer's, the characters do not");
  }
  return prepared;
}

PreparedLinearData prepareUcc128(const LinearType& type, std::string_view data) {
  PreparedLinearData prepared;
  if (!allDigits(data) || (data.size() != 17 && data.size() != 18)) {
    prepared.error =
        digitsProblem(type.name, "17 or 18 digits (a serial shipping container code)", data);
    return prepared;
  }
  const char expected = gs1CheckDigit(data.substr(0, 17));
  if (data.size() == 18 && data.back() != expected) {
    prepared.error = wrongCheckDigit(type.name, data, expected);
    return prepared;
  }
  prepared.zint.symbology = BARCODE_GS1_128;
  prepared.zint.inputMode = GS1_MODE | GS1PARENS_MODE;
  prepared.zint.data = "(00)" + std::string(data.substr(0, 17)) + expected;
  prepared.readableFromZint = true;
  return prepared;
}

PreparedLinearData prepareEan128(const LinearType& type, std::string_view data) {
  PreparedLinearData prepared;
  if (data.empty() || data.front() != '(') {
    prepared.error = std::string(type.name) +
                     " takes GS1 application identifiers in parentheses, each followed by its "
                     "data, e.g. (01)09501101530003(10)AB12; " +
                     quoted(data) + " does not start with one";
    return prepared;
  }
  prepared.zint.symbology = BARCODE_GS1_128;
  prepared.zint.inputMode = GS1_MODE | GS1PARENS_MODE;
  prepared.zint.data = std::string(data);
  prepared.readableFromZint = true;
  return prepared;
}

PreparedLinearData preparePostnet(const LinearType& type, std::string_view data) {
  PreparedLinearData prepared;
  if (!allDigits(data) || (data.size() != 5 && data.size() != 9 && data.size() != 11)) {
    prepared.error = digitsProblem(type.name, "5, 9 or 11 digits", data);
    return prepared;
  }
  encodeAs(prepared, BARCODE_POSTNET, data);
  return prepared;
}

PreparedLinearData prepareDun14(const LinearType& type, std::string_view data) {
  PreparedLinearData prepared;
  if (!allDigits(data) || (data.size() != 13 && data.size() != 14)) {
    prepared.error = digitsProblem(type.name, "13 or 14 digits", data);
    return prepared;
  }
  const char expected = gs1CheckDigit(data.substr(0, 13));
  if (data.size() == 14 && data.back() != expected) {
    prepared.error = wrongCheckDigit(type.name, data, expected);
    return prepared;
  }
  prepared.zint.symbology = BARCODE_ITF14;
  prepared.zint.data = std::string(data.substr(0, 13));
  prepared.readable = std::string(data.substr(0, 13)) + expected;
  prepared.fixedQuarterTurns = assume::kDun14QuarterTurns;
  // The rotation is the caller's to apply (fixedQuarterTurns); the note is
  // about the drawing itself.
  prepared.notes.push_back("DUN-14 is drawn without bearer bars");
  return prepared;
}

}  // namespace

PreparedLinearData prepareLinearData(const LinearType& type, std::string_view data) {
  switch (type.symbology) {
    case Symbology::Code39: return prepareCode39(type, data);
    case Symbology::Ean8:
    case Symbology::Ean13:
    case Symbology::UpcA:
    case Symbology::UpcE: return prepareEanUpc(type, data);
    case Symbology::Interleaved2of5: return prepareInterleaved(type, data);
    case Symbology::Codabar: return prepareCodabar(type, data);
    case Symbology::Code93: return prepareCode93(type, data);
    case Symbology::Code128:
    case Symbology::Rps128: return prepareCode128(type, data);
    case Symbology::Ucc128: return prepareUcc128(type, data);
    case Symbology::Ean128: return prepareEan128(type, data);
    case Symbology::Postnet: return preparePostnet(type, data);
    case Symbology::Dun14: return prepareDun14(type, data);
  }
  PreparedLinearData unknown;
  unknown.error = "no symbology for " + std::string(type.name);
  return unknown;
}

}  // namespace tagwright::preview
