#pragma once

// Every assumption the preview makes about what the printer does where its
// programming references disagree or say nothing, in one place. Each one is
// a named constant or function, used by the renderer and listed in
// docs/preview.md; when a real print shows otherwise, change it here.

#include <cstdint>

// How the barcode symbols are drawn (the human-readable line's place and
// content, add-ons, POSTNET's short bars, DUN-14's fixed turn, ...) is
// assumed in the barcode drawing's own header, included here so that this
// header names every assumption the preview makes.
#include "preview/barcode/barcode_assumptions.h"

namespace tagwright::preview::assumptions {

// Where an element's position field puts it. Assumed: every element (text,
// barcode, PDF417, image, box, area) is anchored at its top-left corner.
// Older references anchor text and barcodes at the bottom-left; a print
// that shows that would move every text and barcode up by its height.
constexpr bool kElementsAnchoredTopLeft = true;

// Rotation codes 0..3 turn an element by that many quarter turns. Assumed:
// clockwise, about the anchor point, so a text turned once runs downwards
// and lies to the left of its anchor. A counter-clockwise printer would
// swap codes 1 and 3.
constexpr int quarterTurnsClockwise(int rotationCode) { return rotationCode; }

// `^C n` with n below 1. Assumed: the label prints once. A printer that
// prints nothing for `^C0` would make the preview report 0 copies.
constexpr int copiesPrinted(long requested) {
  return requested < 1 ? 1 : static_cast<int>(requested > 1000000 ? 1000000 : requested);
}

// `^R n`: left margin. Assumed: the whole picture moves n dots to the
// right (what moves past the right edge is cut). A printer that narrows the
// printable width instead would cut nothing at the left either.
constexpr int leftMarginShiftDots(int margin) { return margin; }

// `~Q +n` / `~Q -n`: vertical offset. Assumed: the picture moves n dots
// down (up when negative), cut at the label's edges.
constexpr int verticalOffsetShiftDots(int offset) { return offset; }

// `~R n`: one reference only. Assumed: the label prints turned by 180
// degrees when n (in mm) is less than the label's width in mm, upright
// otherwise. The turn is applied to the finished picture, after the margin
// and the offset.
constexpr bool turnedHalfway(long valueMm, long labelWidthMm) { return valueMm < labelWidthMm; }

// Font letters outside A..I. Assumed: the printer draws them as font A.
constexpr char kUnknownFontDrawnAs = 'A';

// Font I is a fixed cell of 16 by 26 dots. Assumed: each character is the
// sans-serif glyph 26 dots high, centred in its 16-dot cell and cut to it.
constexpr int kFixedCellWidth = 16;
constexpr int kFixedCellHeight = 26;

// Fonts A..H: "one sans-serif typeface at N points, N x dpi / 72 dots
// high". Assumed: that height is the font's whole line, ascender to
// descender, so every glyph of the typeface fits in it; the baseline lies
// the ascender's share of it below the top.
constexpr bool kFontHeightIsAscenderToDescender = true;

// `hm`/`vm` magnification. Assumed: pixel replication of the glyph drawn
// at the font's own height (as bitmap printer fonts do), up to this factor;
// a larger one is drawn at this factor with a note.
constexpr int kMaxMagnification = 24;

// `B ... readable=1`: Assumed: the human-readable line is centred under
// the bars, in font A, barcode_assumptions::kReadableGapDots below them.
constexpr char kHumanReadableFont = 'A';

// `P x,y,w,h,rows,cols,level,data`. Assumed field meaning: module width w
// dots, row height h dots, rows 3..90 and cols 1..30 data rows and columns
// (0: as many as the data needs), error correction level 0..8. PDF417 has
// no rotation field: drawn upright.
constexpr int kPdf417MinRows = 3;
constexpr int kPdf417MaxRows = 90;
constexpr int kPdf417MaxColumns = 30;
constexpr int kPdf417MaxLevel = 8;

// `R x1,y1,x2,y2,lr,tb` and `Lo`/`Le`: Assumed: the corner dots belong to
// the box or area, so a box from x 10 to x 20 is 11 dots wide.
constexpr bool kCornersInclusive = true;

// Without `^Q` or `^W` in the stream: 25 mm long, 43 mm wide (the
// component's defaults).
constexpr int kDefaultLengthMm = 25;
constexpr int kDefaultWidthMm = 43;

// The largest label a printer can hold: 1 m on a side and 64 M dots. A
// bigger one is refused before anything is allocated.
constexpr int kMaxSideMm = 1000;
constexpr std::int64_t kMaxDots = 64LL * 1024 * 1024;

// Set-up commands (`^...`, `~...`) between `^L` and `E`. Assumed: they
// change the state for the labels that follow; the label being composed
// keeps the size, margin and offset it had at its `^L`.
constexpr bool kSetUpInsideLabelAppliesToNextLabel = true;

// A label format without its `E` at the end of a job. Assumed: the
// printer does not print it (it waits for the rest); the preview draws no
// picture for it and says so.
constexpr bool kUnfinishedLabelPrinted = false;

// Line feeds are not part of the language. Assumed (the preview's
// tolerance): a line feed after a CR is skipped, and a lone line feed ends
// a command as a CR does, each with a note. A printer may instead take a
// line feed as the first byte of the next command.
constexpr bool kLineFeedEndsCommand = true;

// `Y x,y,name` with no local picture. Assumed look: a frame of this many
// dots around the name, in font A.
constexpr int kMissingImageFrameDots = 2;
constexpr int kMissingImagePaddingDots = 4;

// A stored image's pixel counts as black when its grey value (after
// putting it on white) is below this threshold (0..255).
constexpr int kImageBlackBelow = 128;

}  // namespace tagwright::preview::assumptions
