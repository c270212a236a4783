#!/usr/bin/env bash
# Sets up, builds and starts Velbrook under Wine, in the user's own Wine prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh"
export LC_ALL=C.UTF-8 LANG=C.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}
# Until the main window exists the console program is the way in.
exec wine "$root/dist/velbrookc.exe" list "$@"
