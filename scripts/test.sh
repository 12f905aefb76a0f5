#!/usr/bin/env bash
# Sets up the machine and runs every test of Tagwright:
#   native unit tests (debug), the same under AddressSanitizer and
#   UndefinedBehaviorSanitizer, the worker tests under ThreadSanitizer,
#   a libFuzzer run over the add-in dispatch, and then, for the 32-bit
#   product and the 64-bit build alike: the cross build with its export and
#   import checks, the Windows print path, the COM DLL and the settings page
#   under Wine, and the scenario corpus through tagwright.exe and the DLL.
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

fuzz_targets() {
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTAGWRIGHT_FUZZ=ON -DTAGWRIGHT_BENCH=OFF -DTAGWRIGHT_WERROR=ON >/dev/null &&
    cmake --build build/fuzz -j "$jobs" --target dispatch_fuzzer script_reader_fuzz || return 1
  echo "dispatch fuzzer:"
  build/fuzz/tests/fuzz/dispatch_fuzzer -max_total_time=30 -max_len=4096 \
    -artifact_prefix=build/fuzz/ 2>&1 | tail -n 2
  [ "${PIPESTATUS[0]}" -eq 0 ] || return 1
  # libFuzzer adds the inputs it finds to its corpus folder: give it a copy.
  rm -rf build/fuzz/script-corpus && mkdir -p build/fuzz/script-corpus &&
    cp tests/scenarios/*.tws examples/*.tws build/fuzz/script-corpus/
  echo "script reader fuzzer:"
  build/fuzz/tests/cli/script_reader_fuzz build/fuzz/script-corpus -max_total_time=30 \
    -artifact_prefix=build/fuzz/ 2>&1 | tail -n 2
  [ "${PIPESTATUS[0]}" -eq 0 ]
}

cross_build() {
  local preset=$1
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$jobs" &&
    tests/wine/check_dll.sh "build/$preset/windows/Tagwright.dll"
}

# The 32-bit stages run only where 32-bit Windows programs do; where they do
# not, each of them fails with the reason the check found.
wine32_ready=0
wine32_check() {
  if bash scripts/wine32_check.sh build/wine32-check; then
    wine32_ready=1
  else
    return 1
  fi
}
wine_stage() {
  local width=$1
  shift
  if [ "$width" = 32 ] && [ "$wine32_ready" -ne 1 ]; then
    echo "32-bit Windows programs do not run here: $(cat build/wine32-check/reason 2>/dev/null || echo 'see the check above')"
    return 1
  fi
  "$@"
}

stage "native unit tests" native_tests debug
stage "address and undefined-behaviour sanitizers" native_tests asan
stage "thread sanitizer" native_tests tsan
stage "fuzzing: add-in dispatch and script reader" fuzz_targets
stage "32-bit Windows programs run here" wine32_check
for width in 32 64; do
  build=build/win$width
  stage "$width-bit Windows build" cross_build "win$width"
  stage "$width-bit Windows print path under Wine" wine_stage "$width" tests/wine/transport/run.sh "$build"
  stage "$width-bit COM component under Wine" wine_stage "$width" tests/wine/run.sh "$build"
  if [ "$width" = 32 ]; then
    # The product's page is the one in the documentation.
    stage "32-bit settings page under Wine" wine_stage 32 tests/wine/page/run.sh "$build" "$build/settings-page.png"
  else
    stage "64-bit settings page under Wine" wine_stage 64 tests/wine/page/run.sh "$build"
  fi
  stage "$width-bit scenarios through the COM DLL under Wine" wine_stage "$width" tests/scenarios/run_wine.sh "$build"
done

echo
if [ ${#failures[@]} -gt 0 ]; then
  printf 'failed: %s\n' "${failures[@]}"
fi
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
