#!/usr/bin/env bash
# Sets up, builds and starts Velbrook under Wine, in the user's own Wine prefix.
# With a display Velbrook simply runs. Without one (a server, CI) a virtual X server stands in:
# the script waits for the main window, writes a screenshot of it (the path is printed) and
# ends the program the way its installer does (WM_CLOSE with both parameters 1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/tools/build.sh"
export LC_ALL=C.UTF-8 LANG=C.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}
# A machine that can't run 32-bit code runs the 64-bit build of the same sources.
if [ "$(bash "$root/tools/test-arch.sh")" = i686 ]; then
  wine=wine dist=$root/dist
else
  wine=/usr/lib/wine/wine64 dist=$build/dist
  export WINELOADER=$wine
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$wine" "$dist/Velbrook.exe" "$@"
fi

echo "No display: starting Velbrook on a virtual X server."
display_file=$(mktemp)
exec 3>"$display_file"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 3>&3 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
rm -f "$display_file"
finish() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap finish EXIT

"$wine" "$dist/Velbrook.exe" "$@" >/dev/null 2>&1 &
velbrook=$!
# A new Wine prefix takes a while to set itself up on the first start.
for _ in $(seq 240); do
  xwininfo -name Velbrook >/dev/null 2>&1 && break
  kill -0 "$velbrook" 2>/dev/null || { echo "Velbrook ended before its window appeared" >&2; exit 1; }
  sleep 0.5
done
sleep 2
shot=$build/velbrook.png
xwd -name Velbrook -silent | convert xwd:- "$shot"
echo "Screenshot of the main window: $shot"
"$wine" "$build/tools/tour/tour_driver.exe" post Velbrook 16 1 1
wait "$velbrook" && echo "Velbrook ended cleanly."
