#!/usr/bin/env bash
# Builds and runs every benchmark in the build's test prefix (which it seeds and then resets).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/tools/build.sh"
bash "$root/tools/wine-env.sh" start "$build"
trap 'bash "$root/tools/wine-env.sh" stop "$build"' EXIT
for exe in "$build"/bench/*_bench.exe; do
  echo "== $(basename "$exe" .exe)"
  "$build/wine-run" "$exe"
done
