#!/usr/bin/env bash
# Builds and runs the benchmarks in the build's test prefix (which it seeds and then resets).
#   tools/bench.sh [NAME...]   NAME: listing, monitor, startup...; none: every benchmark
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/tools/build.sh"
bash "$root/tools/wine-env.sh" start "$build"
trap 'bash "$root/tools/wine-env.sh" stop "$build"' EXIT
names=("$@")
[ ${#names[@]} -gt 0 ] || names=($(cd "$build/bench" && ls *_bench.exe | sed 's/_bench\.exe$//'))
for name in "${names[@]}"; do
  exe=$build/bench/${name}_bench.exe
  echo "== $(basename "$exe" .exe)"
  "$build/wine-run" "$exe"
done
