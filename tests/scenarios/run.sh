#!/usr/bin/env bash
# Runs the scenario corpus through a tagwright command and compares bytes.
#
#   tests/scenarios/run.sh TAGWRIGHT_COMMAND...
#
# e.g.  tests/scenarios/run.sh build/debug/cli/tagwright
#       tests/scenarios/run.sh wine64 build/win64/cli/com/tagwright.exe
#
# Each NAME.tws runs with a fresh settings profile and every print job
# appended to one output file; that file must equal NAME.expected byte for
# byte, and what the script shows with "? Name" must equal NAME.shown when
# that file exists. Set SCENARIOS to a space-separated list of names to run
# only those. Extra options for the command can come from TAGWRIGHT_OPTIONS.
set -u

if [ $# -lt 1 ]; then
  echo "usage: $0 TAGWRIGHT_COMMAND..." >&2
  exit 2
fi

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tagwright-scenarios.XXXXXX")
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
names=${SCENARIOS:-$(cd "$here" && ls *.tws | sed 's/\.tws$//')}
for name in $names; do
  script="$here/$name.tws"
  out="$work/$name.out"
  shown="$work/$name.shown"
  errors="$work/$name.err"
  # shellcheck disable=SC2086
  "$@" run ${TAGWRIGHT_OPTIONS:-} --profile "$work/$name.profile" --output "$out" "$script" \
    >"$shown" 2>"$errors"
  status=$?
  problem=""
  if [ $status -ne 0 ]; then
    problem="exit status $status: $(head -c 2000 "$errors")"
  elif [ ! -f "$out" ]; then
    problem="no output written"
  elif ! cmp -s "$out" "$here/$name.expected"; then
    problem="output differs from $name.expected ($(cmp "$out" "$here/$name.expected" 2>&1 | head -1))"
  elif [ -f "$here/$name.shown" ] && ! cmp -s <(tr -d '\r' <"$shown") "$here/$name.shown"; then
    problem="shown values differ: $(diff <(tr -d '\r' <"$shown") "$here/$name.shown" | head -5)"
  fi
  if [ -z "$problem" ]; then
    echo "ok    $name"
    passed=$((passed + 1))
  else
    echo "FAIL  $name: $problem"
    failed=$((failed + 1))
  fi
done

echo "scenarios: $passed passed, $failed failed"
[ $failed -eq 0 ]
