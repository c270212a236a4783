#!/usr/bin/env bash
# Sets the machine up (tools/setup.sh), then configures and builds:
# - build/ (or $BUILD_DIR): everything, tests included, for the architecture the tests run as
#   on this machine (tools/test-arch.sh);
# - where that is not the shipped i686, also build-dist/ (or $DIST_BUILD_DIR): the shipped
#   32-bit files, without the tests.
# The shipped i686 files land in dist/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/tools/setup.sh"
bash "$root/tools/fetch-third-party.sh"
arch=$(bash "$root/tools/test-arch.sh")

# configure DIR ARCH [CMAKE ARGS...]: (re)configures DIR for ARCH; a folder configured for
# another architecture starts afresh.
configure() {
  local dir=$1 want=$2
  shift 2
  if [ -f "$dir/build.ninja" ] && [ "$(cat "$dir/velbrook-arch" 2>/dev/null)" != "$want" ]; then
    rm -rf "$dir"
  fi
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$want.cmake" -DCMAKE_BUILD_TYPE=Release "$@"
    echo "$want" >"$dir/velbrook-arch"
  fi
}

if [ "$arch" = i686 ]; then
  configure "$build" i686
  cmake --build "$build" --parallel "$(nproc)"
else
  configure "$build" "$arch" -DVELBROOK_DIST_DIR="$build/dist"
  cmake --build "$build" --parallel "$(nproc)"
  dist_build=${DIST_BUILD_DIR:-$root/build-dist}
  configure "$dist_build" i686 -DVELBROOK_BUILD_TESTS=OFF
  cmake --build "$dist_build" --parallel "$(nproc)"
fi
