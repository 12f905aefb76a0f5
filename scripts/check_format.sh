#!/usr/bin/env bash
# Fails when a C or C++ file of the repository differs from what clang-format
# makes of it with the project's .clang-format, and names the files.
# Usage: scripts/check_format.sh [--fix]   (--fix formats them in place)
set -uo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check_format: clang-format is missing (install clang-format)" >&2; exit 2; }
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
unformatted=()
for file in "${files[@]}"; do
  if ! clang-format --dry-run -Werror "$file" >/dev/null 2>&1; then unformatted+=("$file"); fi
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'not formatted: %s\n' "${unformatted[@]}"
  echo "check_format: ${#unformatted[@]} of ${#files[@]} files differ; scripts/check_format.sh --fix formats them"
  exit 1
fi
echo "check_format: all ${#files[@]} files formatted"
