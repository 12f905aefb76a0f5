#!/usr/bin/env bash
# tagwright.exe's own tools under Wine, against the native program's answers:
#   - devices on a prefix with mapped COM ports: their order, the ports the
#     component opens by itself, the ones it cannot, the printer queues;
#   - preview of the examples and the scenario corpus at 203 and 300 dpi:
#     every picture the same, pixel for pixel, as the native program's;
#   - check of the examples and the corpus: the same findings, line for
#     line, in text, JSON and SARIF, and the same exit status;
#   - run --preview through the registered DLL: the jobs reach the port
#     and the pictures are the native preview's of the same scripts;
#   - status against the native virtual printer over loopback, ready and in
#     a fault, and against a port nobody listens on: the same words and exit
#     codes as the native program's;
#   - run --confirm through the registered DLL to the native virtual printer
#     (ready, head open, media out after one label): the same words and exit
#     codes as the native run --confirm; ports it cannot ask (a file, a
#     parallel port) said as the native program says them;
#   - the Windows virtual printer on loopback in each state and fault: the
#     native status and run --confirm get the same words and exit codes from
#     it as from the native one, and its pictures are the native one's;
#   - a script and a picture folder named beyond the ANSI code page.
# Usage: tests/wine/tools/run.sh WINDOWS_BUILD_DIR NATIVE_TAGWRIGHT
set -uo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 WINDOWS_BUILD_DIR NATIVE_TAGWRIGHT" >&2
  exit 2
fi
build=$(realpath "$1")
native=$(realpath "$2")
exe=$build/cli/com/tagwright.exe
for file in "$exe" "$native"; do
  if [ ! -f "$file" ]; then
    echo "run.sh: $file is missing; build it first" >&2
    exit 2
  fi
done
root=$(cd "$(dirname "$0")/../../.." && pwd)
unset DISPLAY WAYLAND_DISPLAY
source "$root/tests/test_helpers.sh"
wine_env "$build" tools/run.sh tools-prefix || exit 2

passed=0
failed=0
work=$build/tools-test
rm -rf "$work" && mkdir -p "$work"

# devices: two more serial ports, as their drivers would register them.
serialcomm='HKLM\HARDWARE\DEVICEMAP\SERIALCOMM'
"$wine" reg add "$serialcomm" /v '\Device\VCP0' /t REG_SZ /d COM12 /f >/dev/null 2>&1
"$wine" reg add "$serialcomm" /v '\Device\Serial3' /t REG_SZ /d COM3 /f >/dev/null 2>&1
"$wine" "$exe" devices >"$work/devices.txt" 2>"$work/devices.err"
status=$?
tr -d '\r' <"$work/devices.txt" >"$work/devices"
expect_ok "devices exits 0" test "$status" -eq 0
expect_ok "devices lists COM3 before COM12" \
  bash -c "grep -n '^  COM' '$work/devices' | grep -A1 'COM3 ' | grep -q 'COM12 '"
expect_ok "devices: the component opens COM3 itself" \
  grep -A1 -q '^  COM3  \\Device\\Serial3' "$work/devices"
expect_ok "devices: COM12 is past what the component opens" \
  bash -c "grep -A1 '^  COM12 ' '$work/devices' | grep -q 'COM1..COM9 only'"
expect_ok "devices: the printer queues and network printers are offered" \
  bash -c "grep -q '^Windows printer queues' '$work/devices' &&
           grep -q '^Network printers: --device COM1=tcp://' '$work/devices'"

# The same pictures as the native program. The profile is a fresh one per
# run, on both sides.
inputs=("$root"/examples/*.tws "$root"/tests/scenarios/*.tws)
for dpi in 203 300; do
  mkdir -p "$work/native-$dpi" "$work/windows-$dpi"
  (cd "$root" && "$native" preview --profile "$work/native-$dpi.profile" --dpi "$dpi" \
     --output "$work/native-$dpi" "${inputs[@]}" >"$work/native-$dpi.out" 2>&1)
  native_status=$?
  winputs=()
  for input in "${inputs[@]}"; do winputs+=("$(windows_path "$input")"); done
  "$wine" "$exe" preview --profile "$(windows_path "$work")\\windows-$dpi.profile" --dpi "$dpi" \
    --output "$(windows_path "$work/windows-$dpi")" "${winputs[@]}" >"$work/windows-$dpi.out" 2>&1
  windows_status=$?
  expect_ok "preview at $dpi dpi: the same exit status ($native_status)" \
    test "$native_status" -eq "$windows_status"
  count=$(find "$work/native-$dpi" -name '*.png' | wc -l)
  expect_ok "preview at $dpi dpi: the same $count pictures" \
    diff <(cd "$work/native-$dpi" && ls) <(cd "$work/windows-$dpi" && ls)
  differing=()
  for picture in "$work/native-$dpi"/*.png; do
    other=$work/windows-$dpi/$(basename "$picture")
    [ -f "$other" ] || continue
    if ! cmp -s "$picture" "$other"; then
      # Byte differences may be the compression alone: compare the pixels.
      pixels=$(compare -metric AE "$picture" "$other" null: 2>&1)
      [ "$pixels" = 0 ] || differing+=("$(basename "$picture") ($pixels pixels)")
    fi
  done
  expect_ok "preview at $dpi dpi: every picture pixel for pixel${differing:+: differ: ${differing[*]}}" \
    test ${#differing[@]} -eq 0
done

# The same findings as the native program, relative paths on both sides.
relative=()
for input in "${inputs[@]}"; do relative+=("${input#"$root"/}"); done
for format in text json sarif; do
  (cd "$root" && "$native" check --profile "$work/check-native.profile" --format "$format" \
     "${relative[@]}" >"$work/check-native.$format" 2>&1)
  native_status=$?
  (cd "$root" && "$wine" "$exe" check --profile "$(windows_path "$work")\\check-windows.profile" \
     --format "$format" "${relative[@]}" 2>&1 | tr -d '\r' >"$work/check-windows.$format")
  windows_status=${PIPESTATUS[0]}
  expect_ok "check --format $format: the same exit status ($native_status)" \
    test "$native_status" -eq "$windows_status"
  expect_ok "check --format $format: the same findings, line for line" \
    diff "$work/check-native.$format" "$work/check-windows.$format"
done

# run --preview: the DLL prints to COM5, a FIFO read into a file, while the
# linked core draws the same jobs.
dll=$build/windows/Tagwright.dll
expect_ok "regsvr32 Tagwright.dll" "$wine" regsvr32 /s "$(windows_path "$dll")"
printf 'NumberPort = 7\n' >"$work/port.tws"
mkfifo "$work/port"
ln -sfn "$work/port" "$WINEPREFIX/dosdevices/com5"
mkdir -p "$work/run-pictures" "$work/native-run"
: >"$work/run.out"
cat "$work/port" >>"$work/run.out" &
reader=$!
exec 3>"$work/port"
"$wine" "$exe" run --profile "$(windows_path "$work")\\run.profile" \
  --preview "$(windows_path "$work/run-pictures")" \
  "$(windows_path "$work/port.tws")" "$(windows_path "$root/examples/first_label.tws")" \
  >"$work/run.shown" 2>"$work/run.err"
status=$?
exec 3>&-
wait $reader
expect_ok "run --preview exits 0$([ $status -eq 0 ] || echo ": $(head -c 300 "$work/run.err")")" \
  test "$status" -eq 0
"$native" run --profile "$work/native-run.profile" --output "$work/native-run.out" \
  "$work/port.tws" "$root/examples/first_label.tws" >/dev/null 2>&1
expect_ok "run --preview: the DLL sent the native program's bytes" \
  cmp -s "$work/run.out" "$work/native-run.out"
"$native" preview --profile "$work/native-run-preview.profile" --output "$work/native-run" \
  "$work/port.tws" "$root/examples/first_label.tws" >/dev/null 2>&1
# run names its pictures after the first script; the label is first_label's.
expect_ok "run --preview: the picture of the job sent is the native preview's" \
  cmp -s "$work/run-pictures/port-1.png" "$work/native-run/first_label-1.png"
"$wine" regsvr32 /s /u "$(windows_path "$dll")"

# status over Winsock: the native virtual printer answers both programs.
compare_status() {  # compare_status WHAT PRINTER-OPTIONS...
  local what=$1
  shift
  "$native" printer --listen 127.0.0.1:0 "$@" >"$work/printer.log" 2>&1 &
  local printer=$! address=""
  for _ in $(seq 100); do
    address=$(grep -o '127\.0\.0\.1:[0-9]*' "$work/printer.log" | head -1)
    [ -n "$address" ] && break
    sleep 0.1
  done
  "$native" status --device "COM1=tcp://$address" >"$work/status-native" 2>&1
  local native_status=$?
  "$wine" "$exe" status --device "COM1=tcp://$address" 2>&1 | tr -d '\r' >"$work/status-windows"
  local windows_status=${PIPESTATUS[0]}
  kill "$printer" 2>/dev/null
  wait "$printer" 2>/dev/null
  expect_ok "status, $what: the same exit code ($native_status)" \
    test "$native_status" -eq "$windows_status"
  expect_ok "status, $what: the same words ($(head -c 120 "$work/status-native"))" \
    diff "$work/status-native" "$work/status-windows"
}
compare_status "a ready printer"
compare_status "a printer with its head open" --state head-open
# Nobody listens on a port just closed: both must say the connection is refused.
free_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$native" status --connect-timeout 1 --busy-timeout 0.2 --device "COM1=tcp://127.0.0.1:$free_port" \
  >"$work/refused-native" 2>&1
native_status=$?
"$wine" "$exe" status --connect-timeout 1 --busy-timeout 0.2 \
  --device "COM1=tcp://127.0.0.1:$free_port" 2>&1 | tr -d '\r' >"$work/refused-windows"
windows_status=${PIPESTATUS[0]}
expect_ok "status, nobody listening: the same exit code ($native_status)" \
  test "$native_status" -eq "$windows_status"
expect_ok "status, nobody listening: the same words" \
  diff "$work/refused-native" "$work/refused-windows"

# run --confirm through the DLL: its worker tells tagwright.exe when each
# job has ended, and the printer behind the port is asked then, as the
# native program asks it after each job.
cat >"$work/confirm.tws" <<'SCRIPT'
NumberPort = 0
LabelHeight = 30
LabelWidth = 58
StartLabel()
PutText(20, 20, 1, 1, 1, 0, "A", "first")
Print(2)
StartLabel()
PutText(20, 20, 1, 1, 1, 0, "A", "second")
Print(1)
SCRIPT
expect_ok "regsvr32 Tagwright.dll (run --confirm)" "$wine" regsvr32 /s "$(windows_path "$dll")"
confirm_both() {  # confirm_both CASE PRINTER-OPTIONS...
  local name=$1 side address pid
  shift
  for side in native windows; do
    local dir=$work/confirm-$side-$name
    mkdir -p "$dir"
    "$native" printer --listen 127.0.0.1:0 --speed-factor 100 "$@" >"$dir/log" 2>&1 &
    pid=$!
    address=""
    for _ in $(seq 100); do
      address=$(grep -so '127\.0\.0\.1:[0-9]*' "$dir/log" | head -1)
      [ -n "$address" ] && break
      sleep 0.1
    done
    if [ "$side" = native ]; then
      timeout 60 "$native" run --profile "$dir/profile" --quiet --confirm --status-timeout 1 \
        --on-port-error abort --device "LPT1=tcp://$address" "$work/confirm.tws" >"$dir/run" 2>&1
      echo "exit $?" >>"$dir/run"
    else
      timeout 60 "$wine" "$exe" run --profile "$(windows_path "$dir")\\profile" --quiet --confirm \
        --status-timeout 1 --device "LPT1=tcp://$address" "$(windows_path "$work/confirm.tws")" \
        2>&1 | tr -d '\r' >"$dir/run"
      echo "exit ${PIPESTATUS[0]}" >>"$dir/run"
    fi
    kill -INT "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    [ -n "$address" ] && sed -i "s/$address/PRINTER/g" "$dir/run"
  done
  expect_ok "run --confirm, $name: the same words and exit code as the native program ($(tr '\n' ' ' <"$work/confirm-native-$name/run" | head -c 160))" \
    diff "$work/confirm-native-$name/run" "$work/confirm-windows-$name/run"
}
confirm_both ready
confirm_both head-open --state head-open
confirm_both media-out-after-a-label --fault "after 1 labels: media-empty"
expect_ok "run --confirm: a ready printer confirmed both jobs, one by one" \
  grep -qx 'tagwright: job 2 on LPT1: printed (00,00000)' "$work/confirm-windows-ready/run"
expect_ok "run --confirm: the media ran out on the first job's second label" \
  bash -c "grep -q 'job 1 on LPT1: not printed' '$work/confirm-windows-media-out-after-a-label/run' &&
           tail -n 1 '$work/confirm-windows-media-out-after-a-label/run' | grep -qx 'exit 4'"
# A file cannot answer: refused before anything runs, in the native words.
: >"$work/confirm-file.prn"
"$native" run --profile "$work/confirm-file-native.profile" --confirm \
  --device "LPT1=$work/confirm-file.prn" "$work/confirm.tws" 2>&1 |
  sed "s|$work/confirm-file.prn|FILE|" >"$work/confirm-file-native"
echo "exit ${PIPESTATUS[0]}" >>"$work/confirm-file-native"
"$wine" "$exe" run --profile "$(windows_path "$work")\\confirm-file.profile" --confirm \
  --device "LPT1=file:$(windows_path "$work/confirm-file.prn")" "$(windows_path "$work/confirm.tws")" \
  2>&1 | tr -d '\r' | sed "s|file:$(windows_path "$work/confirm-file.prn" | sed 's/\\/\\\\/g')|FILE|" \
  >"$work/confirm-file-windows"
echo "exit ${PIPESTATUS[0]}" >>"$work/confirm-file-windows"
expect_ok "run --confirm to a file: refused as the native program refuses it ($(head -n 1 "$work/confirm-file-native" | head -c 120))" \
  diff "$work/confirm-file-native" "$work/confirm-file-windows"
expect_ok "run --confirm to a file: nothing was printed" test ! -s "$work/confirm-file.prn"
# LPT1 unmapped, the parallel port of the prefix: the jobs are written, and
# each is said not confirmed, as the native program says it for a port
# that cannot answer; the run ends as one whose jobs were dropped.
: >"$work/confirm-lpt1"
ln -sfn "$work/confirm-lpt1" "$WINEPREFIX/dosdevices/lpt1"
timeout 60 "$wine" "$exe" run --profile "$(windows_path "$work")\\confirm-lpt.profile" --confirm \
  "$(windows_path "$work/confirm.tws")" 2>&1 | tr -d '\r' >"$work/confirm-lpt"
echo "exit ${PIPESTATUS[0]}" >>"$work/confirm-lpt"
rm -f "$WINEPREFIX/dosdevices/lpt1"
# Each job opens the file again and writes from its start: the last is there.
expect_ok "run --confirm to a parallel port: the jobs were written to it" \
  grep -qa 'AA,20,20,1,1,1,0,second' "$work/confirm-lpt1"
expect_ok "run --confirm to a parallel port: each job said not confirmed, exit 4 ($(tr '\n' ' ' <"$work/confirm-lpt" | head -c 200))" \
  diff "$work/confirm-lpt" <(printf '%s\n' \
    'tagwright: job 1 on LPT1: not confirmed: LPT1 (LPT1): a parallel port carries jobs one way and no answers' \
    'tagwright: job 2 on LPT1: not confirmed: LPT1 (LPT1): a parallel port carries jobs one way and no answers' \
    'tagwright: 2 of 2 print jobs dropped' 'exit 4')
"$wine" regsvr32 /s /u "$(windows_path "$dll")"

# The Windows virtual printer on loopback, asked and printed to by the
# native program: the same words and exit codes as the native virtual
# printer gives it, in each state and fault, and the same pictures.
cat >"$work/label.tws" <<'SCRIPT'
NumberPort = 3
LabelHeight = 30
LabelWidth = 58
BarcodeWidth = 2
StartLabel()
PutBarcode("Q", 20, 50, 80, 0, "TW-000123")
PutText(20, 120, 1, 1, 1, 0, "A", "Привет")
Print(2)
SCRIPT
serve_and_ask() {  # serve_and_ask native|windows CASE PRINTER-OPTIONS...
  local side=$1 dir=$work/printer-$1-$2 address="" pid
  shift 2
  mkdir -p "$dir/pictures"
  if [ "$side" = native ]; then
    "$native" printer --listen 127.0.0.1:0 --speed-factor 100 --preview "$dir/pictures" "$@" \
      >"$dir/log" 2>&1 &
  else
    "$wine" "$exe" printer --listen 127.0.0.1:0 --speed-factor 100 \
      --preview "$(windows_path "$dir/pictures")" "$@" >"$dir/log" 2>&1 &
  fi
  pid=$!
  for _ in $(seq 200); do
    address=$(grep -so '127\.0\.0\.1:[0-9]*' "$dir/log" | head -1)
    [ -n "$address" ] && break
    sleep 0.1
  done
  timeout 20 "$native" status --connect-timeout 1 --status-timeout 1 \
    --device "COM1=tcp://$address" >"$dir/status" 2>&1
  echo "exit $?" >>"$dir/status"
  timeout 60 "$native" run --profile "$dir/profile" --quiet --confirm --status-timeout 1 \
    --connect-timeout 1 --busy-timeout 2 --on-port-error abort --device "COM1=tcp://$address" \
    "$work/label.tws" \
    >"$dir/run" 2>&1
  echo "exit $?" >>"$dir/run"
  kill -INT "$pid" 2>/dev/null
  wait "$pid"
  echo "exit $?" >>"$dir/log"
  # The two printers listen on ports of their own.
  [ -n "$address" ] && sed -i "s/$address/PRINTER/g" "$dir/status" "$dir/run"
}
printer_cases=(
  "ready:"
  "head-open:--state head-open"
  "media-out:--state media-empty"
  "paused:--state paused"
  "media-out-after-a-label:--fault after_1_labels:_media-empty"
  "refusing:--tcp-fault refuse"
  "closing-mid-job:--tcp-fault close-mid-job"
)
for entry in "${printer_cases[@]}"; do
  name=${entry%%:*}
  read -r -a options <<<"${entry#*:}"
  options=("${options[@]//_/ }")
  serve_and_ask native "$name" "${options[@]}"
  serve_and_ask windows "$name" "${options[@]}"
  native_dir=$work/printer-native-$name
  windows_dir=$work/printer-windows-$name
  expect_ok "printer.exe, $name: status and run ended by themselves, on both printers" \
    bash -c "! grep -qx 'exit 124' '$native_dir/status' '$native_dir/run' '$windows_dir/status' '$windows_dir/run'"
  expect_ok "printer.exe, $name: status gives the same words and exit code ($(tr '\n' ' ' <"$native_dir/status" | head -c 100))" \
    diff "$native_dir/status" "$windows_dir/status"
  expect_ok "printer.exe, $name: run --confirm gives the same words and exit code ($(tail -n 2 "$native_dir/run" | tr '\n' ' ' | head -c 100))" \
    diff "$native_dir/run" "$windows_dir/run"
  expect_ok "printer.exe, $name: the same pictures ($(cd "$native_dir/pictures" && ls | tr '\n' ' '))" \
    diff -r "$native_dir/pictures" "$windows_dir/pictures"
done
expect_ok "printer.exe: the picture of a printed job is there to compare" \
  test -s "$work/printer-windows-ready/pictures/job1-1.png"
expect_ok "printer.exe: Ctrl+C stops it, with exit status 0 and the reason last" \
  diff <(tail -n 2 "$work/printer-windows-ready/log" | tr -d '\r') \
  <(printf 'stopped: interrupted (Ctrl+C)\nexit 0\n')
"$wine" "$exe" printer --pty >/dev/null 2>"$work/printer-pty.err"
status=$?
expect_ok "printer.exe --pty is a usage error (2) that names --listen" \
  bash -c "[ $status -eq 2 ] && grep -q 'belong to the Linux program.*--listen' '$work/printer-pty.err'"

# File names beyond the ANSI code page: a script named in Cyrillic and
# Greek, its pictures into a folder named so too.
unicode_name="этикетка-αβ"
cp "$root/examples/first_label.tws" "$work/$unicode_name.tws"
mkdir -p "$work/native-unicode"
"$native" preview --profile "$work/native-unicode.profile" --output "$work/native-unicode" \
  "$work/$unicode_name.tws" >/dev/null 2>&1
"$wine" "$exe" preview --profile "$(windows_path "$work")\\unicode.profile" \
  --output "$(windows_path "$work/картинки-αβ")" "$(windows_path "$work/$unicode_name.tws")" \
  >"$work/unicode.out" 2>&1
status=$?
expect_ok "preview of $unicode_name.tws into картинки-αβ exits 0$([ $status -eq 0 ] || echo ": $(head -c 300 "$work/unicode.out")")" \
  test "$status" -eq 0
expect_ok "preview of $unicode_name.tws: the native program's picture, under the script's name" \
  cmp -s "$work/native-unicode/$unicode_name-1.png" "$work/картинки-αβ/$unicode_name-1.png"
"$wine" "$exe" status USB 2>&1 | tr -d '\r' >"$work/status-usb"
expect_ok "status USB speaks of Windows' device paths, not of a Linux node" \
  bash -c "grep -q 'USB=\\\\\\\\?\\\\usb#' '$work/status-usb' && ! grep -q /dev/ '$work/status-usb'"

wineserver -w
echo "tools/run.sh: $passed passed, $([ $failed -eq 0 ] && echo 0 || echo some) failed ($wine_width-bit)"
[ "$failed" -eq 0 ]
