#!/usr/bin/env bash
# Sets up the machine and runs every test of Tagwright:
#   the formatting check, scripts/demo.sh in a pristine Debian 12, native unit tests (debug), the
#   designer in a headless browser, the same unit tests under AddressSanitizer and
#   UndefinedBehaviorSanitizer, the worker tests under ThreadSanitizer,
#   a libFuzzer run over the add-in dispatch, and then, for the 32-bit
#   product and the 64-bit build alike: the cross build with its export and
#   import checks, the Windows print path, the COM DLL, the preview's tests
#   and the settings page under Wine, the scenario corpus through
#   tagwright.exe and the DLL, and the DLL printing to the virtual printer;
#   and the installer of the 32-bit build in a 64-bit and a 32-bit prefix.
# Usage: scripts/test.sh [--no-setup]
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "${1:-}" != "--no-setup" ]; then
  bash scripts/setup.sh || exit 1
fi

passed=0
failed=0
failures=()
jobs=$(nproc 2>/dev/null || echo 2)

stage() {
  local name=$1
  shift
  echo
  echo "=== $name"
  local start=$SECONDS
  if "$@"; then
    passed=$((passed + 1))
    echo "=== $name: passed ($((SECONDS - start)) s)"
  else
    failed=$((failed + 1))
    failures+=("$name")
    echo "=== $name: FAILED ($((SECONDS - start)) s)"
  fi
}

native_tests() {
  local preset=$1
  cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" -j "$jobs" &&
    ctest --preset "$preset" -j "$jobs"
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
not_run=()
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
      failed=$((failed + 1))
      failures+=("$name")
    else
      not_run+=("$name")
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

stage "formatting" scripts/check_format.sh
stage "the README's first command on a fresh Debian 12" fresh_demo
stage "native unit tests" native_tests debug
stage "the designer in a headless browser" designer_browser
stage "address and undefined-behaviour sanitizers" native_tests asan
stage "thread sanitizer" native_tests tsan
stage "fuzzing: every parser of outside bytes, each on its corpus" fuzz_targets
stage "whether 32-bit Windows programs run here" wine32_check
for width in 32 64; do
  build=build/win$width
  stage "$width-bit Windows build" cross_build "win$width"
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
  # The DLL printing over a COM port linked to the virtual printer's
  # pseudo-terminal; the printer and the barcode reader come from the native
  # debug build above.
  wine_stage "$width-bit COM DLL printing to the virtual printer under Wine" "$width" \
    tests/wine/printer/run.sh "$build" build/debug/cli/tagwright build/debug/tests/printer/picture_barcodes
  # The installer of the 32-bit build (built with it) in a fresh prefix of
  # this width; its programs are 32-bit at both.
  wine_stage "Tagwright MSI in a fresh $width-bit Wine prefix" 32 tests/wine/msi/run.sh build/win32 "$width"
  # The DLL's device map: network printers, files and queues behind the ports.
  wine_stage "$width-bit DLL device map under Wine" "$width" \
    tests/wine/devices/run.sh "$build" build/debug/cli/tagwright build/debug/tests/printer/picture_barcodes
done

echo
if [ ${#failures[@]} -gt 0 ]; then
  printf 'failed: %s\n' "${failures[@]}"
fi
if [ ${#not_run[@]} -gt 0 ]; then
  printf 'not run (32-bit Windows programs do not run on this machine): %s\n' "${not_run[@]}"
fi
echo "stages: $passed passed, $failed failed, ${#not_run[@]} not run"
[ "$failed" -eq 0 ]
