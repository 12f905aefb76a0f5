#!/usr/bin/env bash
# Runs the scenario corpus through a tagwright command and compares bytes.
#
#   tests/scenarios/run.sh TAGWRIGHT_COMMAND...
#
# e.g.  tests/scenarios/run.sh build/debug/cli/tagwright
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

source "$here/../test_helpers.sh"
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
  check_scenario "$name" "$status" "$out" "$shown" "$errors"
done

echo "scenarios: $passed passed, $failed failed"
[ $failed -eq 0 ]
