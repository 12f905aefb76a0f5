#!/usr/bin/env bash
# tagwright.exe's own tools under Wine, against the native program's answers:
#   - devices on a prefix with mapped COM ports: their order, the ports the
#     component opens by itself, the ones it cannot, the printer queues;
#   - preview of the examples and the scenario corpus at 203 and 300 dpi:
#     every picture the same, pixel for pixel, as the native program's;
#   - check of the examples and the corpus: the same findings, line for
#     line, in text, JSON and SARIF, and the same exit status.
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

wineserver -w
echo "tools/run.sh: $passed passed, $([ $failed -eq 0 ] && echo 0 || echo some) failed ($wine_width-bit)"
[ "$failed" -eq 0 ]
