#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine, as root.
# Quick when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build python3 git dpkg-dev ccache
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev libgcrypt-mingw-w64-dev openssl
  googletest nlohmann-json3-dev libcli11-dev
  wine wine32 wine64
  xvfb x11-apps x11-utils imagemagick
  python3-pil fonts-dejavu-core
  nsis osslsigncode
  clang-format
)

missing=()
for p in "${packages[@]}"; do
  arch_pkg=$p
  [ "$p" = wine32 ] && arch_pkg=wine32:i386
  dpkg-query -W -f='${Status}' "$arch_pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$arch_pkg")
done

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

# minizip is built from Debian's zlib source package, which needs deb-src.
enable_deb_src() {
  local changed=0
  if [ -f /etc/apt/sources.list.d/debian.sources ] &&
     grep -q '^Types: deb$' /etc/apt/sources.list.d/debian.sources; then
    sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
    changed=1
  elif [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src' /etc/apt/sources.list &&
       grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >> /etc/apt/sources.list
    changed=1
  fi
  return $((1 - changed))
}
if enable_deb_src; then need_update=1; fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The posix thread model of mingw gives std::thread and std::mutex.
for triplet in i686-w64-mingw32 x86_64-w64-mingw32; do
  for tool in g++ gcc; do
    alt=/usr/bin/$triplet-$tool-posix
    if [ -x "$alt" ] && [ "$(readlink -f /usr/bin/$triplet-$tool)" != "$(readlink -f "$alt")" ]; then
      update-alternatives --set $triplet-$tool "$alt" >/dev/null
    fi
  done
done
