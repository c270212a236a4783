# Sourced by the build scripts: velbrook_build DIR ARCH tests|release [CMAKE ARGS...] configures
# DIR (afresh when it was configured for another architecture or kind) and builds it.
velbrook_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
  # Fresh clones in other folders (CI) still hit the cache of earlier ones.
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$velbrook_root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi

velbrook_build() {
  local dir=$1 arch=$2 kind=$3
  shift 3
  local want="$arch $kind"
  if [ -f "$dir/build.ninja" ] && [ "$(cat "$dir/velbrook-config" 2>/dev/null)" != "$want" ]; then
    rm -rf "$dir"
  fi
  if [ ! -f "$dir/build.ninja" ] || [ $# -gt 0 ]; then
    local tests=ON
    [ "$kind" = release ] && tests=OFF
    cmake -S "$velbrook_root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$velbrook_root/cmake/mingw-$arch.cmake" \
      -DVELBROOK_BUILD_TESTS=$tests "$@"
    echo "$want" >"$dir/velbrook-config"
  fi
  cmake --build "$dir" --parallel "$(nproc)"
}
