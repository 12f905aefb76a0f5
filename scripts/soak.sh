#!/usr/bin/env bash
# A soak of `tagwright run --confirm` against virtual printers that play
# faults: builds the debug program if needed and runs tests/soak/soak.py.
# Usage: scripts/soak.sh [--labels N] [--seed S] [other options of soak.py]
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/debug/cli/tagwright
if [ ! -x "$program" ] || [ "${TAGWRIGHT_SOAK_BUILD:-1}" = 1 ]; then
  cmake --preset debug >/dev/null
  cmake --build --preset debug -j "$(nproc 2>/dev/null || echo 2)" --target tagwright >/dev/null
fi
exec python3 tests/soak/soak.py --tagwright "$program" "$@"
