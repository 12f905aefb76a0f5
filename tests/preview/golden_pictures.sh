#!/usr/bin/env bash
# The pictures of the scenario corpus and of the example label, compared
# with the ones kept in tests/preview/golden (a small share of pixels may
# differ, for font rendering).
# The example label's barcode must also read, as drawn, with an independent
# reader (PICTURE_BARCODES): its quiet zones are the label's own white space.
#   tests/preview/golden_pictures.sh TAGWRIGHT PICTURE_DIFF [PICTURE_BARCODES] [--update]
# --update writes the current pictures as the new golden ones: run it after
# a deliberate change to the preview, and look at every picture it changes.
set -u
program=$1
picture_diff=$2
shift 2
picture_barcodes=
if [ $# -gt 0 ] && [ "$1" != "--update" ]; then
  picture_barcodes=$1
  shift
fi
update=${1:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
golden="$here/golden"
work=$(mktemp -d "${TMPDIR:-/tmp}/tagwright-golden.XXXXXX")
trap 'rm -rf "$work"' EXIT

inputs=("$root"/tests/scenarios/*.expected)
# The example label of the README, drawn from its script with a fresh profile.
"$program" run --profile "$work/profile" --output "$work/first_label.prn" \
  "$root/examples/first_label.tws" >/dev/null || exit 1
inputs+=("$work/first_label.prn")

for input in "${inputs[@]}"; do
  "$program" preview --output "$work/pictures" "$input" >/dev/null || {
    echo "FAIL  preview of $input"
    exit 1
  }
done

if [ "$update" = "--update" ]; then
  rm -f "$golden"/*.png
  mkdir -p "$golden"
  cp "$work"/pictures/*.png "$golden"/
  echo "golden pictures: $(ls "$golden" | wc -l) written to $golden"
  exit 0
fi

passed=0
failed=0
for expected in "$golden"/*.png; do
  name=$(basename "$expected")
  if [ ! -f "$work/pictures/$name" ]; then
    echo "FAIL  $name: not drawn any more"
    failed=$((failed + 1))
  elif result=$("$picture_diff" "$expected" "$work/pictures/$name"); then
    passed=$((passed + 1))
  else
    echo "FAIL  $name: $result (see tests/preview/golden_pictures.sh --update)"
    failed=$((failed + 1))
  fi
done
for actual in "$work"/pictures/*.png; do
  name=$(basename "$actual")
  if [ ! -f "$golden/$name" ]; then
    echo "FAIL  $name: new picture without a golden one (run with --update)"
    failed=$((failed + 1))
  fi
done
if [ -n "$picture_barcodes" ]; then
  if read_back=$("$picture_barcodes" "$work/pictures/first_label-1.png") &&
    [ "${read_back##*: }" = "TW-000123" ]; then
    echo "ok    first_label-1.png reads TW-000123"
  else
    echo "FAIL  first_label-1.png: the barcode reads as \"${read_back##*: }\", not TW-000123"
    failed=$((failed + 1))
  fi
fi
echo "golden pictures: $passed passed, $failed failed"
[ $failed -eq 0 ] && [ $passed -gt 0 ]
