#!/usr/bin/env bash
# Runs the settings page tests under Wine on a virtual X display, at the
# build's width (32 or 64 bits): registers its Tagwright.dll in a private Wine
# prefix, runs the page test host
# (which creates the component by its ProgID, shows the page in a window of
# its own and drives it with window messages), and, when asked, takes a
# picture of the page as the user sees it.
# Usage: tests/wine/page/run.sh BUILD_DIR [PICTURE.png]
#   BUILD_DIR   a Windows build directory, either width
#   PICTURE.png where to save the picture of the page (for example
#               docs/settings-page.png); no picture when left out
set -uo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 BUILD_DIR [PICTURE.png]" >&2
  exit 2
fi
build=$(realpath "$1")
picture=${2:+$(realpath -m "$2")}
dll=$build/windows/Tagwright.dll
host=$build/tests/wine/page/tagwright_page_tests.exe
for file in "$dll" "$host"; do
  if [ ! -f "$file" ]; then
    echo "run.sh: $file is missing; build that Windows tree first" >&2
    exit 2
  fi
done
for tool in Xvfb import; do
  command -v "$tool" >/dev/null || { echo "run.sh: $tool is missing (xvfb, imagemagick)" >&2; exit 2; }
done
# The page's texts are Russian; Wine takes its code pages from the locale.
source "$(dirname "$0")/../../test_helpers.sh"
wine_env "$build" run.sh || exit 2

# A display of our own, on the first free number.
work=$(mktemp -d)
xvfb_pid=
finish() {
  wineserver -k >/dev/null 2>&1
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap finish EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "run.sh: Xvfb did not start" >&2; exit 2; }
export DISPLAY=:$(cat "$work/display")

failed=0

step "regsvr32 Tagwright.dll" "$wine" regsvr32 /s "$(windows_path "$dll")"
step "settings page tests" "$wine" "$host"

take_picture() {
  "$wine" "$host" --show 8 >"$work/shown" 2>&1 &
  local shown_pid=$!
  local place=
  for _ in $(seq 100); do
    place=$(sed -n 's/^ready \([0-9-]*\) \([0-9-]*\) \([0-9]*\) \([0-9]*\).*/\3x\4+\1+\2/p' "$work/shown")
    [ -n "$place" ] && break
    sleep 0.1
  done
  if [ -z "$place" ]; then
    cat "$work/shown" >&2
    wait "$shown_pid"
    return 1
  fi
  sleep 1  # let the page paint
  mkdir -p "$(dirname "$picture")"
  import -window root -crop "$place" +repage "$picture"
  local taken=$?
  wait "$shown_pid"
  [ $taken -eq 0 ] && echo "picture: $picture ($place)"
}
if [ -n "$picture" ]; then
  step "picture of the page" take_picture
fi
wineserver -w

if [ $failed -ne 0 ]; then
  echo "run.sh: FAILED ($wine_width-bit)"
  exit 1
fi
echo "run.sh: all passed ($wine_width-bit)"
