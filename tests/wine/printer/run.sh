#!/usr/bin/env bash
# The COM component under Wine prints to the virtual printer: tagwright.exe
# drives the registered Tagwright.dll of a Windows build (either width), whose
# print worker writes to COM5 of a private prefix; COM5 is linked to the
# pseudo-terminal of a native `tagwright printer --pty`. The printer draws
# the labels, zxing-cpp reads their barcodes back to the script's data, and
# the native host asks the printer on the same terminal whether it printed
# them (the DLL's worker only writes): ready once, and a media-empty fault
# met by the second job the next time.
#
#   tests/wine/printer/run.sh BUILD_DIR NATIVE_TAGWRIGHT PICTURE_BARCODES
#
# BUILD_DIR is a win32 or win64 cross build (with cli/com/tagwright.exe);
# NATIVE_TAGWRIGHT and PICTURE_BARCODES come from a native build
# (cli/tagwright, tests/printer/picture_barcodes).
set -uo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 BUILD_DIR NATIVE_TAGWRIGHT PICTURE_BARCODES" >&2
  exit 2
fi
build=$(realpath "$1")
tagwright=$(realpath "$2")
picture_barcodes=$(realpath "$3")
exe=$build/cli/com/tagwright.exe
dll=$build/windows/Tagwright.dll
for file in "$exe" "$dll" "$tagwright" "$picture_barcodes"; do
  [ -f "$file" ] || { echo "printer/run.sh: $file is missing" >&2; exit 2; }
done

unset DISPLAY WAYLAND_DISPLAY
source "$(dirname "$0")/../../test_helpers.sh"
wine_env "$build" printer/run.sh || exit 2
if ! "$wine" regsvr32 /s "$(windows_path "$dll")"; then
  echo "printer/run.sh: regsvr32 Tagwright.dll failed" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tagwright-wine-printer.XXXXXX")
printer_pid=
trap '[ -n "$printer_pid" ] && kill "$printer_pid" 2>/dev/null; [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT

# Two scripts of one job each on COM5 (NumberPort 7), each label with its
# own barcode. One job a run: the component purges the port when it opens
# it for a job, and a job right behind another can discard bytes the
# pseudo-terminal has not passed on yet (the kernel hands them over a moment
# later), so back-to-back jobs would test that race, not the printer.
cat >"$work/first.tws" <<'SCRIPT'
NumberPort = 7
LabelHeight = 30
LabelWidth = 58
GapLenght = 3
BarcodeWidth = 2
StartLabel()
PutText(20, 10, 1, 1, 1, 0, "A", "Молоко")
PutBarcode("Q", 20, 50, 80, 0, "TW-000123")
Print(1)
SCRIPT
cat >"$work/second.tws" <<'SCRIPT'
NumberPort = 7
LabelHeight = 30
LabelWidth = 58
BarcodeWidth = 2
StartLabel()
PutBarcode("E", 20, 50, 80, 0, "4607001234562")
Print(1)
SCRIPT

# Starts the printer with the given options; sets $terminal to its path.
start_printer() {
  local log=$1 tries=0
  shift
  "$tagwright" printer --pty --speed-factor 100 "$@" >"$log" 2>"$log.err" &
  printer_pid=$!
  while [ ! -s "$log" ] && [ $tries -lt 200 ]; do sleep 0.01; tries=$((tries + 1)); done
  terminal=$(head -n 1 "$log" | sed -n 's/^listening on pseudo-terminal //p')
  [ -c "$terminal" ] && ln -sfn "$terminal" "$WINEPREFIX/dosdevices/com5"
}

stop_printer() {
  local tries=0
  kill -TERM "$printer_pid"
  while kill -0 "$printer_pid" 2>/dev/null && [ $tries -lt 200 ]; do
    sleep 0.01
    tries=$((tries + 1))
  done
  kill -KILL "$printer_pid" 2>/dev/null
  wait "$printer_pid" 2>/dev/null
  printer_pid=
}

# Asks (at most three seconds) until the printer's state is WANTED; prints the last answer.
status_until() {
  local wanted=$1 tries=0 answer=
  while [ $tries -lt 30 ]; do
    answer=$("$tagwright" status --status-timeout 1 --device "COM1=$terminal" 2>&1)
    case $answer in *"$wanted"*) break ;; esac
    sleep 0.1
    tries=$((tries + 1))
  done
  echo "$answer"
}

# Runs first.tws and then second.tws through tagwright.exe and the DLL.
run_jobs() {
  local script status
  for script in first second; do
    "$wine" "$exe" run --profile "$(windows_path "$work")\\$1.profile" \
      "$(windows_path "$work/$script.tws")" >"$work/$1-$script.out" 2>"$work/$1-$script.err"
    status=$?
    wineserver -w
    [ $status -eq 0 ] || return $status
  done
}

passed=0
failed=0

# Both jobs print.
start_printer "$work/printed.log" --preview "$work/printed"
expect_ok "the printer names its pseudo-terminal" [ -c "$terminal" ]
expect_ok "tagwright.exe runs both scripts through the DLL" run_jobs printed
answer=$(status_until "ready (00,00000)")
expect_ok "the printer reports both jobs printed ($answer)" \
  grep -q "COM1 ($terminal): ready (00,00000)" <<<"$answer"
stop_printer
read_back=$("$picture_barcodes" $(ls "$work"/printed/*.png | sort -V) | sed 's/.*: //' | tr '\n' ' ')
expect_ok "the labels' barcodes read back to the script's data ($read_back)" \
  [ "$read_back" = "TW-000123 4607001234562 " ]
expect_ok "the printer logged two labels" [ "$(grep -c '^job [0-9]*, label ' "$work/printed.log")" = 2 ]

# The second job meets media empty.
start_printer "$work/fault.log" --fault "after 1 label: media-empty"
expect_ok "tagwright.exe runs both scripts again" run_jobs fault
answer=$(status_until "(01,00001)")
"$tagwright" status --status-timeout 1 --device "COM1=$terminal" >/dev/null 2>&1
status=$?
expect_ok "the printer reports the fault ($answer)" \
  grep -q "media empty or media jam, 1 label left (01,00001)" <<<"$answer"
expect_ok "status exits 4 on the fault" [ $status -eq 4 ]
stop_printer

"$wine" regsvr32 /s /u "$(windows_path "$dll")"
wineserver -w
echo "wine printer ($wine_width-bit): $passed checks passed"
[ $failed -eq 0 ]
