#!/usr/bin/env bash
# Shows Renovix's update dialog in its states under Xvfb in the build's Wine prefix and writes a
# PNG of each: checking, downloading, already installed, and the boxes that end a failed check
# (no connection, an empty answer).
#   tools/renovix-screenshots.sh [BUILD_DIR [OUTPUT_DIR]]
# BUILD_DIR must hold a finished test build (tools/build.sh); the loopback version server of the
# tests answers, started here in a folder of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$build/screenshots}
host_dir=$build/tests/update/renovix/library
host=$host_dir/renovix_library_test.exe
[ -f "$host" ] && [ -f "$host_dir/Renovix.dll" ] || { echo "no Renovix test build in $build: build first" >&2; exit 2; }
mkdir -p "$out"
server_dir=$build/renovix-screenshots-server
mkdir -p "$server_dir"

bash "$root/tools/wine-env.sh" start "$build" >/dev/null
python3 "$root/tests/update/version_server.py" start "$server_dir" >/dev/null
trap 'python3 "$root/tests/update/version_server.py" stop "$server_dir"; bash "$root/tools/wine-env.sh" stop "$build"' EXIT
display=$(cat "$build/wineprefix/display")
port=$(cat "$server_dir/version-server.port")
site=http://127.0.0.1:$port

script() {  # script CASE[/FILE] QUERY
  python3 -c 'import sys, urllib.request; urllib.request.urlopen(sys.argv[1]).read()' "$site/_script/$1?$2"
}
body() { python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]), end="")' "$1"; }

# shot STATE CASE SECONDS: runs the dialog against CASE and takes its picture after SECONDS.
shot() {
  local state=$1 case=$2 wait=$3
  VELBROOK_SITE_URL=$site/$case "$build/wine-run" "$host" --host $(( (${wait%.*} + 6) * 1000 )) >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 40); do
    xwininfo -display "$display" -name "Velbrook Update" >/dev/null 2>&1 && break
    sleep 0.25
  done
  sleep "$wait"
  xwd -display "$display" -name "Velbrook Update" -silent | convert xwd:- "$out/update-$state.png"
  wait "$pid" 2>/dev/null || true
  echo "$out/update-$state.png"
}

# box STATE URL: runs the dialog against URL and takes the picture of the message box that ends it.
box() {
  local state=$1 url=$2
  VELBROOK_SITE_URL=$url "$build/wine-run" "$host" --host 10000 >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 60); do
    xwininfo -display "$display" -name "Velbrook" >/dev/null 2>&1 && break
    sleep 0.25
  done
  sleep 0.5
  xwd -display "$display" -name "Velbrook" -silent | convert xwd:- "$out/update-$state.png"
  wait "$pid" 2>/dev/null || true
  echo "$out/update-$state.png"
}

# Checking: the server holds the answer back.
script checking "mode=hang"
shot checking checking 0.5
# Downloading: the first MiB of a large file arrives, the rest is held back.
big=$((3 * 1024 * 1024))
script downloading "body=$(body "1
h	9.0.0.0	1	0
big.bin	x	$big	$site/downloading/big.bin	0	0")"
script downloading/big.bin "body=x&repeat=$big&sign=1&mode=stall&cut=$((1024 * 1024))"
# Without the signed statement of the release nothing is downloaded.
digest=$(python3 -c 'import hashlib, sys; print(hashlib.sha512(b"x" * int(sys.argv[1])).hexdigest())' "$big")
script downloading/admin/release-statement "sign=1&body=$(body "Velbrook release statement
product	Velbrook
version	9.0.0.0
file	big.bin	big.bin	0	$digest
")"
shot downloading downloading 6
# Already installed: the answer names the version of the stand-in Velbrook.exe.
script installed "body=$(body "1
h	1.0.0.0	0	0")"
shot installed installed 4
# No connection: nothing listens on the port. An empty answer: the server sends no text.
box no-connection "http://127.0.0.1:1/none"
script empty "body="
box empty-answer "$site/empty"
