#!/usr/bin/env bash
# Sets up the machine and runs every test of Tagwright:
#   the formatting check, scripts/demo.sh in a pristine Debian 12, native unit tests (debug), the
#   designer in a headless browser, the same unit tests under AddressSanitizer and
#   UndefinedBehaviorSanitizer, the threaded tests under ThreadSanitizer,
#   a libFuzzer run over the add-in dispatch, and then, for the 32-bit
#   product and the 64-bit build alike: the cross build with its export and
#   import checks, the Windows print path, the COM DLL, the preview's tests
#   and the settings page under Wine, the scenario corpus through
#   tagwright.exe and the DLL, and the DLL printing to the virtual printer;
#   and the installer of the 32-bit build in a 64-bit and a 32-bit prefix.
# The stages that mostly wait (the fresh Debian, the Wine stages) run in the
# background beside the builds, which keep both cores busy; their output is
# printed whole when they end. The summary lists every stage with its time.
# Usage: scripts/test.sh [--no-setup]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
start_all=$SECONDS

if [ "${1:-}" != "--no-setup" ]; then
  bash scripts/setup.sh || exit 1
fi
setup_seconds=$((SECONDS - start_all))

jobs=$(nproc 2>/dev/null || echo 2)
ci=build/ci
rm -rf "$ci" && mkdir -p "$ci"
# One line a stage, written by the lane that ran it: passed|FAILED|NOT RUN, seconds, name.
results=$ci/results
: >"$results"

stage() {
  local name=$1
  shift
  echo
  echo "=== $name"
  local start=$SECONDS
  if "$@"; then
    echo "=== $name: passed ($((SECONDS - start)) s)"
    printf 'passed\t%s\t%s\n' "$((SECONDS - start))" "$name" >>"$results"
  else
    echo "=== $name: FAILED ($((SECONDS - start)) s)"
    printf 'FAILED\t%s\t%s\n' "$((SECONDS - start))" "$name" >>"$results"
  fi
}

# A lane runs stages in the background with its output in a file of its own;
# join_lane waits for it and prints that output in one piece.
declare -A lane_pids
lane() {
  local name=$1
  shift
  echo
  echo "=== started in the background: $name"
  "$@" >"$ci/lane-$name.log" 2>&1 &
  lane_pids[$name]=$!
}
join_lane() {
  local name=$1
  [ -n "${lane_pids[$name]:-}" ] || return 0
  wait "${lane_pids[$name]}"
  unset "lane_pids[$name]"
  echo
  echo "=== output of the background lane $name:"
  cat "$ci/lane-$name.log"
}

native_tests() {
  local preset=$1
  cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" -j "$jobs" &&
    ctest --preset "$preset" -j "$jobs"
}

# ThreadSanitizer on what runs threads: the worker and its ports, the program
# (its worker, the virtual printer), the designer's server and the printer's
# end-to-end tests. The preview's own tests run no thread and are not built.
thread_tests() {
  cmake --preset tsan >/dev/null &&
    cmake --build --preset tsan -j "$jobs" --target core_tests posix_tests cli_tests \
      designer_tests printer_end_to_end_tests tagwright picture_barcodes &&
    ctest --preset tsan -j "$jobs" -E '_NOT_BUILT$|^preview_golden_pictures$'
}

# The designer (tagwright serve) in headless Chromium, driven by Selenium:
# the debug build's program, its barcode reader and its virtual printer.
designer_browser() {
  cmake --build --preset debug -j "$jobs" --target tagwright picture_barcodes &&
    /usr/bin/python3 tests/designer/browser_test.py build/debug/cli/tagwright \
      build/debug/tests/printer/picture_barcodes
}

fuzz_targets() {
  # Every target replays its committed corpus, then fuzzes briefly; the
  # corpus is left as it is.
  bash scripts/fuzz.sh --seconds "${TAGWRIGHT_FUZZ_SECONDS:-5}" --no-merge
}

cross_build() {
  local preset=$1
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$jobs" &&
    tests/wine/check_dll.sh "build/$preset/windows/Tagwright.dll"
}

# The 32-bit Wine stages need a machine that runs 32-bit programs, which not
# every kernel does (IA-32 emulation can be off, and qemu-user cannot carry
# 32-bit Wine). Where it does not, each 32-bit Wine stage says so with the
# reason and is counted as not run; TAGWRIGHT_REQUIRE_32BIT=1 makes it fail
# instead, for machines that must test the product itself.
wine32_ready=0
wine32_check() {
  if bash scripts/wine32_check.sh build/wine32-check; then
    wine32_ready=1
  elif [ "${TAGWRIGHT_REQUIRE_32BIT:-0}" = 1 ]; then
    return 1
  else
    echo "the 32-bit Wine stages will not run on this machine"
  fi
}
wine_stage() {
  local name=$1 width=$2
  shift 2
  if [ "$width" = 32 ] && [ "$wine32_ready" -ne 1 ]; then
    local reason
    reason=$(cat build/wine32-check/reason 2>/dev/null || echo 'see the check above')
    echo
    echo "=== $name: NOT RUN: 32-bit Windows programs do not run here: $reason"
    if [ "${TAGWRIGHT_REQUIRE_32BIT:-0}" = 1 ]; then
      printf 'FAILED\t0\t%s\n' "$name" >>"$results"
    else
      printf 'NOT RUN\t0\t%s\n' "$name" >>"$results"
    fi
    return
  fi
  stage "$name" "$@"
}

# The README's first command on a machine that has never seen the project: a
# clean clone of HEAD in a pristine minimal Debian 12, where scripts/demo.sh
# must install what it needs, build, and end with the README's picture.
fresh_demo() {
  local fresh=../shared/tools/fresh-debian.sh
  if [ ! -x "$fresh" ]; then
    echo "$fresh is missing: the shared tools must stand beside the clone"
    return 1
  fi
  "$fresh" . bash -c 'scripts/demo.sh && test -s build/demo/job-1.png &&
    cmp build/demo/job-1.png tests/preview/golden/first_label-1.png &&
    echo "fresh demo: build/demo/job-1.png is the README picture"'
}

# The Wine stages of one width; the cross build of that width is done.
wine_stages() {
  local width=$1 build=build/win$1
  wine_stage "$width-bit Windows print path under Wine" "$width" tests/wine/transport/run.sh "$build"
  wine_stage "$width-bit Winsock network printer under Wine" "$width" tests/wine/winsock/run.sh "$build"
  wine_stage "$width-bit COM component under Wine" "$width" tests/wine/run.sh "$build"
  wine_stage "$width-bit preview tests under Wine" "$width" tests/wine/preview/run.sh "$build"
  if [ "$width" = 32 ]; then
    # The product's page is the one in the documentation.
    wine_stage "32-bit settings page under Wine" 32 tests/wine/page/run.sh "$build" "$build/settings-page.png"
  else
    wine_stage "64-bit settings page under Wine" 64 tests/wine/page/run.sh "$build"
  fi
  wine_stage "$width-bit scenarios through the COM DLL under Wine" "$width" tests/scenarios/run_wine.sh "$build"
  # tagwright.exe's devices, preview and check against the native program's.
  wine_stage "$width-bit tagwright.exe tools under Wine" "$width" \
    tests/wine/tools/run.sh "$build" build/debug/cli/tagwright
  # tagwright.exe serve against the native one; Print through the DLL.
  wine_stage "$width-bit tagwright.exe serve under Wine" "$width" \
    tests/wine/designer/run.sh "$build" build/debug/cli/tagwright
  # The DLL printing over a COM port linked to the virtual printer's
  # pseudo-terminal; the printer and the barcode reader come from the native
  # debug build.
  wine_stage "$width-bit COM DLL printing to the virtual printer under Wine" "$width" \
    tests/wine/printer/run.sh "$build" build/debug/cli/tagwright build/debug/tests/printer/picture_barcodes
  # The installer of the 32-bit build (built with it) in a fresh prefix of
  # this width; its programs are 32-bit at both.
  wine_stage "Tagwright MSI in a fresh $width-bit Wine prefix" 32 tests/wine/msi/run.sh build/win32 "$width"
  # The DLL's device map: network printers, files and queues behind the ports.
  wine_stage "$width-bit DLL device map under Wine" "$width" \
    tests/wine/devices/run.sh "$build" build/debug/cli/tagwright build/debug/tests/printer/picture_barcodes
}

# Two cores: the builds take both, one after another, while the stages that
# mostly wait run beside them. The fresh Debian starts at once (its time is
# the network's); each width's Wine stages start once its cross build and the
# native debug build (their printer and reader) are done, one width at a time.
stage "formatting" scripts/check_format.sh
lane fresh-debian stage "the README's first command on a fresh Debian 12" fresh_demo
stage "native unit tests" native_tests debug
stage "the designer in a headless browser" designer_browser
stage "whether 32-bit Windows programs run here" wine32_check
stage "32-bit Windows build" cross_build win32
lane wine32 wine_stages 32
stage "64-bit Windows build" cross_build win64
join_lane wine32
lane wine64 wine_stages 64
stage "address and undefined-behaviour sanitizers" native_tests asan
stage "thread sanitizer" thread_tests
stage "fuzzing: every parser of outside bytes, each on its corpus" fuzz_targets
stage "soak: 1,000 labels through printer faults, report and printers agree" scripts/soak.sh --labels 1000 --seed 1
join_lane wine64
join_lane fresh-debian

echo
echo "stage times (s):"
awk -F '\t' '{ printf "  %5d  %-8s %s\n", $2, $1, $3 }' "$results"
failed=$(grep -c '^FAILED' "$results")
passed=$(grep -c '^passed' "$results")
not_run=$(grep -c '^NOT RUN' "$results")
if [ "$failed" -gt 0 ]; then
  echo "failed:"
  grep '^FAILED' "$results" | cut -f3 | sed 's/^/  /'
fi
if [ "$not_run" -gt 0 ]; then
  echo "not run (32-bit Windows programs do not run on this machine):"
  grep '^NOT RUN' "$results" | cut -f3 | sed 's/^/  /'
fi
echo "stages: $passed passed, $failed failed, $not_run not run"
echo "time: $((SECONDS - start_all)) s in all, of which set-up $setup_seconds s"
[ "$failed" -eq 0 ]
