#!/usr/bin/env bash
# Every example script must run cleanly and print something.
#   tests/cli/run_examples.sh TAGWRIGHT_PROGRAM
set -u
program=$1
examples=$(cd "$(dirname "$0")/../../examples" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tagwright-examples.XXXXXX")
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
for script in "$examples"/*.tws; do
  name=$(basename "$script" .tws)
  if "$program" run --profile "$work/$name.profile" --output "$work/$name.out" "$script" \
       >"$work/$name.shown" 2>"$work/$name.err"; then
    if [ -s "$work/$name.out" ] || [ -s "$work/$name.shown" ]; then
      passed=$((passed + 1))
      continue
    fi
    echo "FAIL  $name: printed and showed nothing"
  else
    echo "FAIL  $name: $(cat "$work/$name.err")"
  fi
  failed=$((failed + 1))
done
echo "examples: $passed passed, $failed failed"
[ $failed -eq 0 ]
