#!/usr/bin/env bash
# Runs the COM component under Wine at the build's width (32 or 64 bits):
# registers its Tagwright.dll in a private Wine prefix with regsvr32, runs the Windows unit tests and the test
# host (which creates the component by its ProgID and prints to COM5, mapped
# to a file), unregisters it and checks what removal left.
# Usage: tests/wine/run.sh BUILD_DIR    (a Windows build directory, either width)
set -uo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(realpath "$1")
dll=$build/windows/Tagwright.dll
unit_tests=$build/windows/windows_unit_tests.exe
host=$build/tests/wine/tagwright_wine_tests.exe
for file in "$dll" "$unit_tests" "$host"; do
  if [ ! -f "$file" ]; then
    echo "run.sh: $file is missing; build that Windows tree first" >&2
    exit 2
  fi
done
# Without a display a message box fails at once instead of waiting for a
# user; the print worker then keeps retrying, which the tests rely on.
unset DISPLAY WAYLAND_DISPLAY
source "$(dirname "$0")/../test_helpers.sh"
wine_env "$build" run.sh || exit 2

# COM5 of the prefix leads to a plain file; the tests read it back.
port_file=$build/wine-port/com5
mkdir -p "$(dirname "$port_file")"
: >"$port_file"
ln -sfn "$port_file" "$WINEPREFIX/dosdevices/com5"

export TAGWRIGHT_DLL=$(windows_path "$dll")
export TAGWRIGHT_PORT_FILE=$(windows_path "$port_file")

failed=0

step "Windows unit tests" "$wine" "$unit_tests"
step "regsvr32 Tagwright.dll" "$wine" regsvr32 /s "$TAGWRIGHT_DLL"
step "component tests" "$wine" "$host" --gtest_filter=-Unregistered.*
step "regsvr32 /u Tagwright.dll" "$wine" regsvr32 /s /u "$TAGWRIGHT_DLL"
step "after removal" "$wine" "$host" --gtest_filter=Unregistered.*
wineserver -w

if [ $failed -ne 0 ]; then
  echo "run.sh: FAILED ($wine_width-bit)"
  exit 1
fi
echo "run.sh: all passed ($wine_width-bit)"
