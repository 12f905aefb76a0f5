#!/usr/bin/env bash
# Builds the libFuzzer targets (build/fuzz, clang) and runs each in turn on
# its corpus, tests/fuzz/corpus/TARGET/, with the repository's own inputs
# added as seeds. After a run the corpus is minimised (-merge=1) back into
# tests/fuzz/corpus/TARGET/ unless --no-merge is given (CI replays and
# fuzzes without touching the tree).
#
#   scripts/fuzz.sh [--seconds N | --minutes N] [--runs N] [--target NAME]...
#                   [--no-merge] [--no-build] [--logs DIR]
#
# --seconds/--minutes: time per target (default 60 s); --runs: stop a
# target after N inputs as well (whichever comes first); --target: only
# these targets (repeatable); --no-build: run the targets as built;
# --logs: keep each target's whole log there.
# Each input is held to 1 GB of memory and 10 s. Exits non-zero when a
# target finds a fault; its input is kept under build/fuzz/artifacts/.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=60
runs=
merge=1
build_first=1
logs=
targets=()
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --minutes) seconds=$(($2 * 60)); shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --target) targets+=("$2"); shift 2 ;;
    --no-merge) merge=0; shift ;;
    --no-build) build_first=0; shift ;;
    --logs) logs=$2; shift 2 ;;
    -h | --help) sed -n '2,17p' "$0"; exit 0 ;;
    *) echo "fuzz.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

all=(status_reply_fuzz label_stream_fuzz command_split_fuzz device_map_file_fuzz
     device_target_fuzz tcp_address_fuzz cups_address_fuzz profile_fuzz
     script_reader_fuzz script_check_fuzz preview_fuzz preview_barcode_fuzz dispatch_fuzzer)
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
for target in "${targets[@]}"; do
  [[ " ${all[*]} " == *" $target "* ]] || { echo "fuzz.sh: no target $target" >&2; exit 2; }
done

build=build/fuzz
jobs=${TAGWRIGHT_JOBS:-2}
if [ "$build_first" = 1 ] && [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTAGWRIGHT_FUZZ=ON -DTAGWRIGHT_BENCH=OFF -DTAGWRIGHT_WERROR=ON >/dev/null || exit 1
fi
if [ "$build_first" = 1 ]; then
  cmake --build "$build" -j "$jobs" --target "${targets[@]}" >"$build/fuzz-build.log" 2>&1 || {
    tail -n 30 "$build/fuzz-build.log"
    exit 1
  }
fi

# The repository's own inputs, as seeds beside the corpus.
seed() {
  local target=$1 into=$2 file
  case $target in
    script_reader_fuzz | script_check_fuzz) cp tests/scenarios/*.tws examples/*.tws "$into/" ;;
    preview_fuzz | command_split_fuzz) cp tests/scenarios/*.expected "$into/" ;;
    label_stream_fuzz)
      # Two bytes first: how the job is cut into pieces, and the small cap.
      for file in tests/scenarios/*.expected; do
        { printf '\007\100'; cat "$file"; } >"$into/$(basename "$file")"
      done
      ;;
  esac
}

# Per target: its flags beyond the common ones.
flags() {
  case $1 in
    dispatch_fuzzer) echo "-max_len=4096" ;;
    preview_fuzz) echo "-max_len=4096" ;;
    label_stream_fuzz | command_split_fuzz) echo "-max_len=8192" ;;
    *) echo "" ;;
  esac
}

mkdir -p "$build/artifacts"
[ -z "$logs" ] || mkdir -p "$logs"
failed=()
for target in "${targets[@]}"; do
  corpus=tests/fuzz/corpus/$target
  work=$build/work/$target
  rm -rf "$work" && mkdir -p "$work" "$corpus"
  cp "$corpus"/. "$work/" -r 2>/dev/null
  seed "$target" "$work"
  log=${logs:-$build}/$target.log
  limit=(-max_total_time="$seconds")
  [ -z "$runs" ] || limit+=(-runs="$runs")
  # shellcheck disable=SC2046
  "$build/tests/fuzz/$target" "$work" "${limit[@]}" -rss_limit_mb=1024 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" $(flags "$target") \
    >"$log" 2>&1
  status=$?
  stats=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
  units=$(grep -o 'number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$')
  if [ "$status" -ne 0 ]; then
    echo "$target: FAULT (exit $status), log $log"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" | head -n 5
    failed+=("$target")
    continue
  fi
  if [ "$merge" = 1 ]; then
    merged=$build/merged/$target
    rm -rf "$merged" && mkdir -p "$merged"
    # shellcheck disable=SC2046
    # Inputs cut to 1 KB keep the committed corpus small; the seeds, which
    # are larger, come back from the repository each run.
    "$build/tests/fuzz/$target" -merge=1 "$merged" "$work" -rss_limit_mb=1024 -timeout=10 \
      -max_len=1024 >>"$log" 2>&1 || { echo "$target: the merge failed, log $log"; failed+=("$target"); continue; }
    rm -rf "$corpus" && mv "$merged" "$corpus"
  fi
  echo "$target: ${units:-?} inputs; $stats; corpus $(find "$corpus" -type f | wc -l) files," \
    "$(find "$corpus" -type f -exec cat {} + | wc -c) bytes"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "faults found by: ${failed[*]}"
  exit 1
fi
