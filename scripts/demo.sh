#!/usr/bin/env bash
# The main job: sets up the machine, builds the tagwright host with the
# component linked in, runs a sample label script through it, shows what
# the printer receives, one command a line (the raw bytes are kept in
# build/demo/job.prn), and draws the labels as the printer would print them
# (build/demo/job-1.png, ...).
# Usage: scripts/demo.sh [SCRIPT]   (default: examples/first_label.tws)
set -euo pipefail
cd "$(dirname "$0")/.."

script=${1:-examples/first_label.tws}
bash scripts/setup.sh --native
echo "demo: building the tagwright host (build/release)"
mkdir -p build
# Quiet when all is well; the whole configure or build output when it is not.
if ! cmake --preset release >build/demo-configure.log 2>&1; then
  cat build/demo-configure.log
  echo "demo: configuring the build failed (the output above, kept in build/demo-configure.log)" >&2
  exit 1
fi
if ! cmake --build --preset release --target tagwright -j "$(nproc 2>/dev/null || echo 2)" >build/demo-build.log 2>&1; then
  cat build/demo-build.log
  echo "demo: building failed (the output above, kept in build/demo-build.log)" >&2
  exit 1
fi

tagwright=build/release/cli/tagwright
mkdir -p build/demo
rm -f build/demo/job.prn
# A profile of the demo's own, so the user's settings stay untouched.
"$tagwright" --profile build/demo/profile --output build/demo/job.prn run "$script"
echo
echo "--- what the printer receives ($(wc -c <build/demo/job.prn) bytes, build/demo/job.prn):"
"$tagwright" dump build/demo/job.prn
echo
echo "--- the labels as the printer draws them (203 dpi):"
rm -f build/demo/job-*.png
"$tagwright" preview --output build/demo build/demo/job.prn
echo "demo: open build/demo/job-1.png to see the first label"
