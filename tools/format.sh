#!/usr/bin/env bash
# Applies .clang-format to every C++ file git tracks; with --check, lists the files that
# differ from it and fails when there are any.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
  bad=()
  for f in "${files[@]}"; do
    clang-format --style=file "$f" | cmp -s - "$f" || bad+=("$f")
  done
  if [ ${#bad[@]} -gt 0 ]; then
    printf 'not formatted: %s\n' "${bad[@]}" >&2
    exit 1
  fi
  echo "${#files[@]} files formatted"
else
  clang-format --style=file -i "${files[@]}"
fi
