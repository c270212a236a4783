#!/usr/bin/env bash
# Sets up, builds and starts Velbrook under Wine, in the user's own Wine prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh"
export LC_ALL=C.UTF-8 LANG=C.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}
# A machine that can't run 32-bit code runs the 64-bit build of the same sources.
if [ "$(bash "$root/tools/test-arch.sh")" = i686 ]; then
  wine=wine dist=$root/dist
else
  wine=/usr/lib/wine/wine64 dist=${BUILD_DIR:-$root/build}/dist
  export WINELOADER=$wine
fi
# Until the main window exists the console program is the way in.
exec "$wine" "$dist/velbrookc.exe" list "$@"
