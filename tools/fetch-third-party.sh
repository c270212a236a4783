#!/usr/bin/env bash
# Sources the build takes from Debian's source packages, unpacked into third_party/src/ (never
# committed). Quick when they are already there.
#   zlib: its contrib/minizip (the unzip part) is built for mingw by update/renovix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
src=$root/third_party/src
mkdir -p "$src"
if [ ! -f "$src/zlib/contrib/minizip/unzip.c" ]; then
  work=$(mktemp -d "$src/.fetch.XXXXXX")
  # Every version the sources list offers, newest first: a mirror may lack one of them.
  fetched=0
  for version in $(apt-cache showsrc zlib | sed -n 's/^Version: //p' | sort -rV | uniq); do
    if (cd "$work" && apt-get source -q --download-only "zlib=$version" >/dev/null 2>&1); then
      fetched=1
      break
    fi
  done
  [ $fetched = 1 ] || { echo "fetch-third-party.sh: no zlib source package could be fetched" >&2; exit 1; }
  (cd "$work" && dpkg-source -x --no-check zlib_*.dsc zlib >/dev/null)
  rm -rf "$src/zlib"
  mv "$work/zlib" "$src/zlib"
  rm -rf "$work"
fi
