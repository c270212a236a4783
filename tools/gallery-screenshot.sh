#!/usr/bin/env bash
# Shows the control gallery under Xvfb in the build's Wine prefix and writes a PNG of it.
#   tools/gallery-screenshot.sh [BUILD_DIR [OUTPUT.png [GALLERY_EXE]]]
# BUILD_DIR must hold a finished build (tools/build.sh); the prefix is made afresh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$build/gallery.png}
exe=${3:-$build/tools/gallery/controls_gallery.exe}
[ -f "$exe" ] || { echo "no gallery at $exe: build first" >&2; exit 2; }

bash "$root/tools/wine-env.sh" start "$build" >/dev/null
trap 'bash "$root/tools/wine-env.sh" stop "$build"' EXIT
display=$(cat "$build/wineprefix/display")

"$build/wine-run" "$exe" --close-after 12000 >/dev/null 2>&1 &
gallery=$!
# Long enough for the window to be drawn and the animations to have moved on.
for _ in $(seq 40); do
  xwininfo -display "$display" -name "Control gallery" >/dev/null 2>&1 && break
  sleep 0.25
done
sleep 3
if ! xwd -display "$display" -name "Control gallery" -silent | convert xwd:- "$out"; then
  xwd -display "$display" -root -silent | convert xwd:- "$out"
fi
wait "$gallery" || true
echo "$out"
