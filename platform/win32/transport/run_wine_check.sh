#!/bin/sh
# Runs transport_wine_check.exe of a 64-bit cross build under wine64 with a
# FIFO behind COM5 and a file behind LPT1, and compares what they received.
# Usage: platform/win32/transport/run_wine_check.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
exe="$build/platform/win32/transport/transport_wine_check.exe"
[ -f "$exe" ] || { echo "no $exe: build target transport_wine_check first" >&2; exit 2; }
wine=${WINE:-/usr/lib/wine/wine64}
export WINEPREFIX="$build/wineprefix-transport" WINEDEBUG=-all TAGWRIGHT_NO_DESKTOP=1
unset DISPLAY WAYLAND_DISPLAY || true

work=$(mktemp -d)
trap 'exec 3>&- 2>/dev/null || true; rm -rf "$work"' EXIT
[ -d "$WINEPREFIX/dosdevices" ] || "$wine" wineboot -i >/dev/null 2>&1 || true
mkfifo "$work/com5"
: > "$work/lpt1"
ln -sfn "$work/com5" "$WINEPREFIX/dosdevices/com5"
ln -sfn "$work/lpt1" "$WINEPREFIX/dosdevices/lpt1"
rm -f "$WINEPREFIX/dosdevices/com6"

# A writer of our own keeps the FIFO open, so that its reader sees every job
# and not an end of file after the first one.
cat "$work/com5" > "$work/com5.out" &
reader=$!
exec 3>"$work/com5"

status=0
(cd "$work" && "$wine" "$exe") || status=$?
exec 3>&-
wait "$reader"

expected="$work/expected"
: > "$expected"
n=0
while [ $n -lt 50 ]; do printf 'job%d\r\n' $n >> "$expected"; n=$((n + 1)); done
if cmp -s "$expected" "$work/com5.out"; then
  echo "ok   COM5 received the 50 jobs whole and in hand-off order"
else
  echo "FAIL COM5 received something else:"; od -c "$work/com5.out" | head -20; status=1
fi
if printf '\000lpt\000job\r' | cmp -s - "$work/lpt1"; then
  echo "ok   LPT1 received the zero test byte, then the job"
else
  echo "FAIL LPT1 received something else:"; od -c "$work/lpt1"; status=1
fi
exit $status
