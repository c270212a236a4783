#!/usr/bin/env bash
# Runs the markup sample in the build's Wine prefix and Xvfb display and writes a PNG of it:
#   bash tools/html_sample/screenshot.sh [BUILD_DIR] [OUT.png]
# Starts the test fixture (a fresh prefix) when it is not running.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$build/html_sample.png}
cmake --build "$build" --target html_sample
if ! [ -f "$build/wineprefix/display" ] || ! [ -f "$build/xvfb.pid" ] ||
   ! kill -0 "$(cat "$build/xvfb.pid")" 2>/dev/null; then
  bash "$root/tools/wine-env.sh" start "$build" >/dev/null
fi
display=$(cat "$build/wineprefix/display")
title="HTML renderer sample"
geometry=
# Just after the prefix is made, a start can fail at once ("no driver could be loaded" while
# the desktop comes up); then it is started again a little later.
for attempt in 1 2 3 4 5; do
  "$build/wine-run" "$build/tools/html_sample/html_sample.exe" -shot &
  sample=$!
  for _ in $(seq 300); do
    if info=$(xwininfo -display "$display" -name "$title" 2>/dev/null); then
      geometry=$(awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                      /Width:/{w=$NF} /Height:/{h=$NF} END{print w "x" h "+" x "+" y}' <<<"$info")
      break
    fi
    kill -0 "$sample" 2>/dev/null || break
    sleep 0.2
  done
  [ -n "$geometry" ] && break
  wait "$sample" || true
  sleep 3
done
[ -n "$geometry" ] || { echo "the sample window did not appear" >&2; exit 1; }
sleep 1  # let it paint
xwd -root -silent -display "$display" | convert xwd:- -crop "$geometry" +repage "$out"
wait "$sample" || true
echo "$out"
