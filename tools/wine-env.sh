#!/usr/bin/env bash
# start BUILD_DIR: a fresh Wine prefix for the tests, a persistent wineserver and an Xvfb display.
# stop BUILD_DIR:  ends both.
set -euo pipefail
action=$1
build=$(cd "$2" && pwd)
prefix=$build/wineprefix
export WINEPREFIX=$prefix WINEDEBUG=-all LC_ALL=C.UTF-8 LANG=C.UTF-8
export WINEDLLOVERRIDES='winemenubuilder.exe=d;winedbg.exe=d;mscoree=d;mshtml=d'

stop() {
  wineserver -k 2>/dev/null || true
  if [ -f "$build/xvfb.pid" ]; then
    kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true
    rm -f "$build/xvfb.pid"
  fi
}

# Wine's services outlive this script. They must not hold the caller's pipes or other
# descriptors open (ctest waits for those), so close everything but the standard three and
# let everything started here write into a log.
for fd in /proc/$$/fd/*; do
  fd=${fd##*/}
  [ "$fd" -gt 2 ] 2>/dev/null && [ "$fd" -ne 255 ] && eval "exec $fd>&-" 2>/dev/null || true
done

case $action in
start)
  stop
  log=$build/wine-env.log
  exec 4>&1
  exec >"$log" 2>&1 </dev/null
  rm -rf "$prefix"
  mkdir -p "$prefix"
  # -displayfd picks a free display number and tells it once the server listens.
  exec 3> "$build/xvfb.display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$build/xvfb.log" 2>&1 4>&- &
  echo $! >"$build/xvfb.pid"
  for _ in $(seq 100); do [ -s "$build/xvfb.display" ] && break; sleep 0.1; done
  exec 3>&-
  display=":$(tr -d '[:space:]' <"$build/xvfb.display")"
  # The desktop process started below draws on this display for every later program.
  export DISPLAY=$display
  # One persistent server for the whole run: the services that wineboot starts stay up with
  # it, started here rather than by the first test (they would hold that test's pipes).
  wineserver -p 4>&-
  "$build/wine-run" wineboot -i 4>&-
  # Pin the Windows version the tests are written against.
  "$build/wine-run" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f 4>&-
  # With no window manager on the virtual display, Wine's X11 driver waits 2 s whenever a
  # window it manages is hidden or destroyed (each message box, the splash, the last window),
  # and the tests, benchmarks and tour would time that wait instead of the program. Unmanaged
  # windows only in this throwaway prefix: on a real display (a user's own prefix,
  # tools/start.sh) they would lose their frames. VELBROOK_X11_MANAGED=Y measures the old way.
  "$build/wine-run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ \
    /d "${VELBROOK_X11_MANAGED:-N}" /f 4>&-
  # The first boot of a new prefix leaves two service managers running; services started by
  # the second can't reach the RPC endpoint mapper, so the Task Scheduler service stops as soon
  # as it starts. One server restart and a plain boot leave one manager, and the scheduler
  # (which the logon task needs) runs from the start.
  wineserver -k 4>&- || true
  wineserver -p 4>&-
  "$build/wine-run" wineboot 4>&-
  "$build/wine-run" sc start Schedule 4>&- || true
  # The desktop process (explorer.exe) starts with the first window of the prefix. Start it
  # here, with this script's log as its output, so that it never holds a test's pipes. Its
  # first start only half succeeds on a new prefix (the next dialog fails to load the display
  # driver); a second window after it has settled makes the desktop reliable.
  "$build/wine-run" rundll32.exe user32.dll,GetDesktopWindow 4>&- || true
  sleep 1
  "$build/wine-run" rundll32.exe user32.dll,GetDesktopWindow 4>&- || true
  # With one service manager nothing else keeps the desktop open between two tests.
  if [ -f "$build/desktop_keeper.exe" ]; then
    "$build/wine-run" "$build/desktop_keeper.exe" 4>&- &
  fi
  echo "$display" >"$prefix/display"
  echo "prefix $prefix, display $display" >&4
  ;;
stop)
  stop
  ;;
*)
  echo "usage: $0 start|stop BUILD_DIR" >&2
  exit 2
  ;;
esac
