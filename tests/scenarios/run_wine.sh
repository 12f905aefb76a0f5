#!/usr/bin/env bash
# Runs the scenario corpus through tagwright.exe and the registered COM DLL
# under Wine, at the build's width (the product is the 32-bit pair), and compares the bytes that reach the port with the same
# NAME.expected files the native program must produce.
#
#   tests/scenarios/run_wine.sh BUILD_DIR      (a win32 or win64 cross build)
#
# The DLL's print worker writes to COM5 of a private Wine prefix; COM5 leads
# to a FIFO that one reader appends to the output file, kept open for the
# whole scenario so that every job arrives, in order. Each scenario starts
# with a fresh profile and "NumberPort = 7" (COM5) ahead of its script.
# Wine runs with the ru_RU.UTF-8 locale, so ANSI is 1251 and OEM 866.
set -u

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exe=$build/cli/com/tagwright.exe
dll=$build/windows/Tagwright.dll
for f in "$exe" "$dll"; do
  [ -e "$f" ] || { echo "run_wine.sh: $f is missing" >&2; exit 2; }
done

source "$here/../test_helpers.sh"
wine_env "$build" run_wine.sh || exit 2
if ! "$wine" regsvr32 /s "$(windows_path "$dll")"; then
  echo "run_wine.sh: regsvr32 Tagwright.dll failed" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tagwright-wine-scenarios.XXXXXX")
trap 'rm -rf "$work"' EXIT
printf 'NumberPort = 7\n' >"$work/port.tws"
mkfifo "$work/port"
ln -sfn "$work/port" "$WINEPREFIX/dosdevices/com5"

passed=0
failed=0
names=${SCENARIOS:-$(cd "$here" && ls *.tws | sed 's/\.tws$//')}
for name in $names; do
  out=$work/$name.out
  : >"$out"
  cat "$work/port" >>"$out" &
  reader=$!
  exec 3>"$work/port"  # keeps the reader going between jobs
  "$wine" "$exe" run --profile "$(windows_path "$work")\\$name.profile" \
    "$(windows_path "$work/port.tws")" "$(windows_path "$here/$name.tws")" \
    >"$work/$name.shown" 2>"$work/$name.err"
  status=$?
  exec 3>&-
  wait $reader
  check_scenario "$name" "$status" "$out" "$work/$name.shown" "$work/$name.err"
done
wineserver -w
echo "wine scenarios ($wine_width-bit): $passed passed, $failed failed"
[ $failed -eq 0 ]
