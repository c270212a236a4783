#!/usr/bin/env bash
# Builds the shipped files of an earlier released version for the update tests, from its commit
# in this clone, as its own release configuration did (i686, no test hooks), except that its
# Renovix.dll trusts the tests' key:
#   bash tools/build-released.sh COMMIT OUT_DIR PUBLIC_KEY
# OUT_DIR/<commit>/dist/ gets its setup program and files. A commit built once is not built
# again. A commit this clone lacks (a shallow clone) builds nothing: OUT_DIR/<commit>.missing
# says why, and the test that needs it fails with that reason.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -ne 3 ]; then
  echo "usage: $0 COMMIT OUT_DIR PUBLIC_KEY" >&2
  exit 2
fi
commit=$1 out=$2 key=$3
mkdir -p "$out"
missing=$out/$commit.missing
if ! git -C "$root" cat-file -e "$commit^{commit}" 2>/dev/null; then
  echo "the released version's commit $commit is not in the clone $root (a shallow clone?" \
    "git fetch --unshallow brings it)" | tee "$missing" >&2
  exit 0
fi
rm -f "$missing"
here=$out/$commit
[ -f "$here/built" ] && exit 0

rm -rf "$here"
mkdir -p "$here/src"
git -C "$root" archive --format=tar "$commit" | tar -x -C "$here/src"
# The sources taken from Debian's packages are not in the commit; they are the same for both.
bash "$root/tools/fetch-third-party.sh"
mkdir -p "$here/src/third_party"
ln -s "$root/third_party/src" "$here/src/third_party/src"
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
  # Fresh clones in other folders share the cache: paths below the clone count as relative.
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi
cmake -S "$here/src" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$here/src/cmake/mingw-i686.cmake" -DVELBROOK_BUILD_TESTS=OFF \
  -DRENOVIX_UPDATE_PUBLIC_KEY="$key" -DVELBROOK_DIST_DIR="$here/dist" >"$here/configure.log"
cmake --build "$here/build" --parallel "$(nproc)" --target velbrook_setup
touch "$here/built"
