#!/usr/bin/env bash
# Builds the window-free parsers with the host g++ and AddressSanitizer/UBSan and runs their
# tests natively (no Wine). Build folder: build-native/ (or $NATIVE_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${NATIVE_BUILD_DIR:-$root/build-native}
cmake -S "$root/tools/native-tests" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --parallel 2
cd "$build"
ctest --output-on-failure "$@"
