#!/usr/bin/env bash
# Runs winsock_wine_tests.exe of a Windows cross build (either width) under
# Wine: the Winsock network printer and the status channel against printers
# that the program itself serves on 127.0.0.1.
# Usage: tests/wine/winsock/run.sh BUILD_DIR
set -uo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(realpath "$1")
exe=$build/tests/wine/winsock/winsock_wine_tests.exe
[ -f "$exe" ] || { echo "run.sh: $exe is missing: build that Windows tree first" >&2; exit 2; }
source "$(dirname "$0")/../../test_helpers.sh"
wine_env "$build" run.sh wineprefix-winsock || exit 2

# The tests make their files in a folder of their own.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# COM7 is a pseudo-terminal with a printer behind it that answers queries.
coproc answerer { exec python3 "$(dirname "$0")/serial_answerer.py" 60; }
read -r terminal <&"${answerer[0]}" || { echo "run.sh: the serial answerer did not start" >&2; exit 2; }
ln -sfn "$terminal" "$WINEPREFIX/dosdevices/com7"
export TAGWRIGHT_TEST_COM=COM7
status=0
(cd "$work" && "$wine" "$exe") || status=$?
kill "$answerer_PID" 2>/dev/null
wait "$answerer_PID" 2>/dev/null
wineserver -w
echo "Winsock network printer ($wine_width-bit): $([ $status -eq 0 ] && echo passed || echo FAILED)"
exit $status
