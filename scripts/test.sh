#!/usr/bin/env bash
# Sets up the machine and runs every test of Tagwright:
#   native unit tests (debug), the same under AddressSanitizer and
#   UndefinedBehaviorSanitizer, the worker tests under ThreadSanitizer,
#   a libFuzzer run over the add-in dispatch, both Windows cross builds with
#   their export and import checks, the COM DLL under Wine, and the scenario
#   corpus through the native command-line host and through the DLL.
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
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$jobs" || return 1
  if [ -x tests/wine/check_dll.sh ]; then
    tests/wine/check_dll.sh "build/$preset/windows/Tagwright.dll"
  fi
}

stage "native unit tests" native_tests debug
stage "address and undefined-behaviour sanitizers" native_tests asan
stage "thread sanitizer" native_tests tsan
stage "fuzzing: add-in dispatch and script reader" fuzz_targets
stage "32-bit Windows build" cross_build win32
stage "64-bit Windows build" cross_build win64
stage "Windows print path under Wine" sh platform/win32/transport/run_wine_check.sh build/win64
if [ -x tests/wine/run.sh ]; then
  stage "COM component under Wine" tests/wine/run.sh build/win64
fi
if [ -x tests/wine/page/run.sh ]; then
  stage "settings page under Wine" tests/wine/page/run.sh build/win64
fi
if [ -x tests/scenarios/run_wine.sh ]; then
  stage "scenarios through the COM DLL under Wine" tests/scenarios/run_wine.sh build/win64
fi

echo
if [ ${#failures[@]} -gt 0 ]; then
  printf 'failed: %s\n' "${failures[@]}"
fi
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
