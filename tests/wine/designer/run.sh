#!/usr/bin/env bash
# tagwright.exe serve under Wine, against the native tagwright serve, with
# plain HTTP from Linux to Wine's loopback listener (serve_test.py says what
# is checked); Print goes through the registered DLL to the native virtual
# printer on loopback.
# Usage: tests/wine/designer/run.sh WINDOWS_BUILD_DIR NATIVE_TAGWRIGHT
set -uo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 WINDOWS_BUILD_DIR NATIVE_TAGWRIGHT" >&2
  exit 2
fi
build=$(realpath "$1")
native=$(realpath "$2")
exe=$build/cli/com/tagwright.exe
dll=$build/windows/Tagwright.dll
for file in "$exe" "$dll" "$native"; do
  if [ ! -f "$file" ]; then
    echo "run.sh: $file is missing; build it first" >&2
    exit 2
  fi
done
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
unset DISPLAY WAYLAND_DISPLAY
source "$root/tests/test_helpers.sh"
wine_env "$build" designer/run.sh designer-prefix || exit 2

work=$build/designer-test
rm -rf "$work" && mkdir -p "$work/printed"
if ! "$wine" regsvr32 /s "$(windows_path "$dll")"; then
  echo "designer/run.sh: regsvr32 Tagwright.dll failed ($wine_width-bit)" >&2
  exit 1
fi

"$native" printer --listen 127.0.0.1:0 --speed-factor 100 --preview "$work/printed" \
  >"$work/printer.log" 2>&1 &
printer=$!
address=""
for _ in $(seq 100); do
  address=$(grep -so '127\.0\.0\.1:[0-9]*' "$work/printer.log" | head -1)
  [ -n "$address" ] && break
  sleep 0.1
done
status=1
if [ -n "$address" ]; then
  timeout 300 /usr/bin/python3 "$here/serve_test.py" "$wine" "$exe" "$native" "$work" "$address" \
    "$work/printed"
  status=$?
else
  echo "designer/run.sh: the virtual printer did not start: $(head -c 300 "$work/printer.log")" >&2
fi
kill "$printer" 2>/dev/null
wait "$printer" 2>/dev/null
"$wine" regsvr32 /s /u "$(windows_path "$dll")"
wineserver -w
echo "designer/run.sh: $([ $status -eq 0 ] && echo passed || echo FAILED) ($wine_width-bit)"
exit "$status"
