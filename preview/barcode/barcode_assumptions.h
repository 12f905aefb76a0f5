#pragma once

// What the preview assumes about how the printer draws barcode symbols where
// its programming references say nothing. Each value is a guess until a real
// print shows otherwise; change it here and every drawing follows.

namespace tagwright::preview::barcode_assumptions {

// The human-readable line starts this many dots below the bars, centred
// under them, in font A.
inline constexpr int kReadableGapDots = 2;

// On the EAN and UPC types the human-readable line is the whole number the
// symbol carries, with the check digit added when the data leaves it out.
// On the other types it is the data as written (no start/stop characters, no
// check characters).
inline constexpr bool kReadableShowsEanUpcCheckDigit = true;

// Every bar, guard bars included, is `height` dots tall: the guard bars do
// not reach down into the human-readable line.
inline constexpr bool kGuardBarsExtendIntoText = false;

// Add-on types (C, D, F, G, I, J, L, M): the add-on is the last 2 or 5 digits
// of the data; the digits before it are the main symbol's, with or without
// its check digit. "978020137962" + "12" for an EAN-13 with a 2-digit add-on
// is "97802013796212" (or "978020137962412" with the check digit).
inline constexpr bool kAddOnIsLastDigitsOfData = true;

// The space between the main symbol and its add-on, in modules (EAN and UPC
// allow 7 to 12).
inline constexpr int kAddOnGapModules = 9;

// Codabar: the data carries its own start and stop characters (A, B, C or D
// first and last), as scanners report them.
inline constexpr bool kCodabarStartStopInData = true;

// Interleaved 2 of 5 with check digit (N2): the data has an odd number of
// digits, so that with the check digit the count is even. The preview does
// not pad with a leading zero.
inline constexpr bool kInterleavedCheckNeedsOddCount = true;

// POSTNET: short bars are this fraction of the bar height (USPS: 0.050 inch
// short bars beside 0.125 inch tall ones).
inline constexpr double kPostnetShortBarFraction = 0.4;

// UCC 128 (R): the data is the 17 digits of a serial shipping container code,
// or 18 with its check digit; the symbol is GS1-128 with application
// identifier (00) in front.
inline constexpr bool kUcc128IsSscc = true;

// EAN 128 (U): GS1-128 whose data writes each application identifier in
// parentheses, as the human-readable line shows it: "(01)09501101530003".
inline constexpr bool kEan128AiInParentheses = true;

// Code 128 with subsets set in the data (Q2) and RPS 128 (V): the preview
// draws them as Code 128 with subsets chosen automatically, and says so in a
// note: the bars may differ from the printer's, the characters do not.
inline constexpr bool kCode128VariantsDrawnAutomatic = true;

// DUN-14 (T) is printed at 90 degrees whatever the rotation field says; it is
// drawn without bearer bars.
inline constexpr int kDun14QuarterTurns = 1;

}  // namespace tagwright::preview::barcode_assumptions
