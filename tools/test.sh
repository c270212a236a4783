#!/usr/bin/env bash
# Sets up, builds and runs every test under Wine, in a throwaway prefix below the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/tools/build.sh"
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" "$@"
