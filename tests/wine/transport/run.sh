#!/usr/bin/env bash
# Runs transport_wine_check.exe of a Windows cross build (either width) under
# Wine with a FIFO behind COM5 and a file behind LPT1, and compares what they
# received.
# Usage: tests/wine/transport/run.sh BUILD_DIR
set -uo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(realpath "$1")
exe=$build/tests/wine/transport/transport_wine_check.exe
[ -f "$exe" ] || { echo "run.sh: $exe is missing: build that Windows tree first" >&2; exit 2; }
# Without a display the message box fails at once, which the check expects.
unset DISPLAY WAYLAND_DISPLAY
export TAGWRIGHT_NO_DESKTOP=1
source "$(dirname "$0")/../../test_helpers.sh"
wine_env "$build" run.sh wineprefix-transport || exit 2

work=$(mktemp -d)
trap 'exec 3>&- 2>/dev/null; rm -rf "$work"' EXIT
mkfifo "$work/com5"
: >"$work/lpt1"
ln -sfn "$work/com5" "$WINEPREFIX/dosdevices/com5"
ln -sfn "$work/lpt1" "$WINEPREFIX/dosdevices/lpt1"
rm -f "$WINEPREFIX/dosdevices/com6"

# A writer of our own keeps the FIFO open, so that its reader sees every job
# and not an end of file after the first one.
cat "$work/com5" >"$work/com5.out" &
reader=$!
exec 3>"$work/com5"

status=0
(cd "$work" && "$wine" "$exe") || status=$?
exec 3>&-
wait "$reader"

expected=$work/expected
: >"$expected"
for n in $(seq 0 49); do printf 'job%d\r\n' "$n" >>"$expected"; done
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
wineserver -w
echo "transport check ($wine_width-bit): $([ $status -eq 0 ] && echo passed || echo FAILED)"
exit $status
