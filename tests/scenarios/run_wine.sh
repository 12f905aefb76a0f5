#!/usr/bin/env bash
# Runs the scenario corpus through tagwright.exe and the registered COM DLL
# under wine64, and compares the bytes that reach the port with the same
# NAME.expected files the native program must produce.
#
#   tests/scenarios/run_wine.sh BUILD_DIR      (a win64 cross build)
#
# The DLL's print worker writes to COM5 of a private Wine prefix; COM5 leads
# to a FIFO that one reader appends to the output file, kept open for the
# whole scenario so that every job arrives, in order. Each scenario starts
# with a fresh profile and "NumberPort = 7" (COM5) ahead of its script.
# Wine runs with the ru_RU.UTF-8 locale, so ANSI is 1251 and OEM 866.
#
# TAGWRIGHT_WINE_MANUAL_REGISTRATION=1 writes the three registry keys that
# creation by ProgID needs instead of running regsvr32, for a DLL whose
# DllRegisterServer fails under Wine.
set -u

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
wine=/usr/lib/wine/wine64
exe=$build/cli/com/tagwright.exe
dll=$build/windows/Tagwright.dll
for f in "$wine" "$exe" "$dll"; do
  [ -e "$f" ] || { echo "run_wine.sh: $f is missing" >&2; exit 2; }
done

export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  mkdir -p "$build/locale"
  [ -d "$build/locale/ru_RU.UTF-8" ] || localedef -i ru_RU -f UTF-8 "$build/locale/ru_RU.UTF-8" ||
    { echo "run_wine.sh: cannot make the ru_RU.UTF-8 locale (install 'locales')" >&2; exit 2; }
  export LOCPATH=$build/locale
fi
export LC_ALL=ru_RU.UTF-8

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run_wine.sh: creating the Wine prefix (takes a few seconds)"
  "$wine" wineboot -i >/dev/null 2>&1
  wineserver -w
fi

windows_path() { printf 'Z:%s' "$(realpath "$1" | sed 's|/|\\|g')"; }
if [ "${TAGWRIGHT_WINE_MANUAL_REGISTRATION:-0}" = 1 ]; then
  clsid='{C1109BEC-EBD2-49B9-8A9C-B3E2C215828E}'
  "$wine" reg add 'HKCR\AddIn.Tagwright\CLSID' /ve /d "$clsid" /f >/dev/null &&
    "$wine" reg add "HKCR\\CLSID\\$clsid\\InprocServer32" /ve /d "$(windows_path "$dll")" /f \
      >/dev/null &&
    "$wine" reg add "HKCR\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel /d Both /f >/dev/null ||
    { echo "run_wine.sh: cannot write the registry keys" >&2; exit 1; }
elif ! "$wine" regsvr32 /s "$(windows_path "$dll")"; then
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
  problem=""
  if [ $status -ne 0 ]; then
    problem="exit status $status: $(head -c 2000 "$work/$name.err")"
  elif ! cmp -s "$out" "$here/$name.expected"; then
    problem="port output differs from $name.expected ($(cmp "$out" "$here/$name.expected" 2>&1 | head -1))"
  elif [ -f "$here/$name.shown" ] && ! cmp -s <(tr -d '\r' <"$work/$name.shown") "$here/$name.shown"; then
    problem="shown values differ"
  fi
  if [ -z "$problem" ]; then
    echo "ok    $name"
    passed=$((passed + 1))
  else
    echo "FAIL  $name: $problem"
    failed=$((failed + 1))
  fi
done
wineserver -w
echo "wine scenarios: $passed passed, $failed failed"
[ $failed -eq 0 ]
