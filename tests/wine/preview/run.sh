#!/usr/bin/env bash
# Runs the preview's unit tests of a Windows cross build (either width) under
# Wine: preview_tests.exe, with the golden pictures compared pixel for pixel
# and the default font found beside the program, and preview_barcode_tests.exe.
# The Russian locale gives Wine the ANSI and OEM code pages of the component's
# users, though the preview names its code pages itself.
# Usage: tests/wine/preview/run.sh BUILD_DIR
set -uo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(realpath "$1")
programs=("$build/preview/preview_tests.exe" "$build/preview/barcode/preview_barcode_tests.exe")
for program in "${programs[@]}"; do
  [ -f "$program" ] || { echo "preview/run.sh: $program is missing: build that Windows tree first" >&2; exit 2; }
done
font=$build/preview/LiberationSans-Regular.ttf
[ -f "$font" ] || { echo "preview/run.sh: $font is missing beside preview_tests.exe" >&2; exit 2; }

unset DISPLAY WAYLAND_DISPLAY
source "$(dirname "$0")/../../test_helpers.sh"
wine_env "$build" preview/run.sh wineprefix-preview || exit 2

work=$(mktemp -d "${TMPDIR:-/tmp}/tagwright-wine-preview.XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0
for program in "${programs[@]}"; do
  name=$(basename "$program" .exe)
  # GoogleTest's temporary folder is the Windows one; the tests write there.
  (cd "$work" && "$wine" "$program" --gtest_brief=1 2>&1) | tr -d '\r' >"$work/$name.out"
  result=${PIPESTATUS[0]}
  cat "$work/$name.out"
  # A program that ran no test has not passed.
  if [ "$result" -ne 0 ] || ! grep -q '^\[  PASSED  \] [1-9]' "$work/$name.out"; then
    echo "preview/run.sh: $name failed under $wine_width-bit Wine (exit status $result)"
    status=1
  fi
done
wineserver -w
echo "preview tests ($wine_width-bit): $([ $status -eq 0 ] && echo passed || echo FAILED)"
exit $status
