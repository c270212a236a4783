#!/usr/bin/env bash
# The screenshot tour: starts Velbrook under Xvfb in the build's Wine prefix, walks through its
# windows and writes one PNG of each into OUT_DIR.
#   tools/screenshot-tour.sh [BUILD_DIR [OUT_DIR]]
# BUILD_DIR must hold a finished test build (tools/build.sh); the prefix is made afresh.
#
# Adding a window is one line below: `shot NAME WINDOW [DRIVER STEP...]` runs the driver step
# (see tools/tour/tour_driver.cpp), waits for the window titled WINDOW ("screen": the whole
# screen) and writes NAME.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$build/tour}
driver=$build/tools/tour/tour_driver.exe
# The shipped files of the build: build/dist for an x86_64 test build, dist/ for an i686 one.
dist=$(sed -n 's/^VELBROOK_DIST_DIR:PATH=//p' "$build/CMakeCache.txt")
for f in "$dist/Velbrook.exe" "$driver" "$build/tests/shell/renovix_log_stand_in.dll"; do
  [ -f "$f" ] || { echo "missing $f: build first (tools/build.sh)" >&2; exit 2; }
done
mkdir -p "$out"

bash "$root/tools/wine-env.sh" start "$build" >/dev/null
trap 'bash "$root/tools/wine-env.sh" stop "$build"' EXIT
display=$(cat "$build/wineprefix/display")

# The program runs from a folder of its own, with the stand-in update library that holds the
# veil up until the tour closes its message box.
program=$build/tour-program
rm -rf "$program" && mkdir -p "$program"
cp "$dist/Velbrook.exe" "$program/"
cp "$build/tests/shell/renovix_log_stand_in.dll" "$program/Renovix.dll"
export RENOVIX_STAND_IN_HOLD=1
# No update question during the tour: nothing answers there.
export VELBROOK_SITE_URL=http://127.0.0.1:1

drive() { "$build/wine-run" "$driver" "$@" 2>/dev/null; }

capture() {  # capture NAME WINDOW
  local file=$out/$1.png
  if [ "$2" = screen ]; then
    xwd -display "$display" -root -silent | convert xwd:- "$file"
  else
    xwd -display "$display" -name "$2" -silent | convert xwd:- "$file"
  fi
  echo "$file"
}

shot() {  # shot NAME WINDOW [DRIVER STEP...]
  local name=$1 window=$2
  shift 2
  if [ $# -gt 0 ]; then drive "$@" || echo "tour: step '$*' failed" >&2; fi
  [ "$window" = screen ] || drive wait "$window" 10000 || echo "tour: no window $window" >&2
  sleep 1
  capture "$name" "$window" || echo "tour: no picture of $name" >&2
}

# A machine with a dozen startup entries, three of them switched off, one a scrap program.
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
machine_run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
seed() {  # seed KEY NAME COMMAND, in the machine's own (64-bit) view
  "$build/wine-run" reg add "$1" /v "$2" /t REG_SZ /d "$3" /f /reg:64 >/dev/null 2>&1
}
seed "$run_key" "Notepad" 'C:\windows\system32\notepad.exe /background'
seed "$run_key" "Discord" '"C:\Users\Public\Discord\Update.exe" --processStart Discord.exe'
seed "$run_key" "Spotify" '"C:\Users\Public\Spotify\Spotify.exe" /minimized'
seed "$run_key" "Steam" '"C:\Program Files (x86)\Steam\steam.exe" -silent'
seed "$run_key" "OneDrive" '"C:\Users\Public\OneDrive\OneDrive.exe" /background'
seed "$run_key" "Skype" '"C:\Program Files (x86)\Skype\Skype.exe" /minimized'
seed "$run_key" "Dropbox" '"C:\Program Files (x86)\Dropbox\Dropbox.exe" /systemstartup'
seed "$run_key" "Zoom" '"C:\Users\Public\Zoom\Zoom.exe" --autostart'
seed "$machine_run_key" "Adobe ARM" '"C:\Program Files (x86)\Common Files\Adobe\ARM\1.0\AdobeARM.exe"'
seed "$machine_run_key" "SecurityHealth" 'C:\windows\system32\SecurityHealthSystray.exe'
seed "$machine_run_key" "RtHDVCpl" '"C:\Program Files\Realtek\Audio\HDA\RtkNGUI64.exe" -s'
seed "$machine_run_key" "Wordpad" '"C:\Program Files\Windows NT\Accessories\wordpad.exe"'
# Who made them: the publisher tests' sample signed by their authority (trusted here), the same
# file with one byte changed, and unsigned.
samples=$build/tests/publisher/samples
sample_folder="$build/wineprefix/drive_c/Program Files/Velbrook Sample"
mkdir -p "$sample_folder"
cp "$samples/signed.exe" "$samples/tampered.exe" "$samples/unsigned.exe" "$sample_folder/"
drive trust "Z:$samples/test-ca.cer" || echo "tour: could not trust the test authority" >&2
seed "$run_key" "Sample Signed" '"C:\Program Files\Velbrook Sample\signed.exe" /tray'
seed "$run_key" "Sample Changed" 'C:\Program Files\Velbrook Sample\tampered.exe -min'
seed "$run_key" "Sample Unsigned" '%ProgramFiles%\Velbrook Sample\unsigned.exe'
# Names outside the prefix's ANSI code page (1252), as programs install them on machines that
# read Cyrillic, Greek or Chinese.
seed "$run_key" "Яндекс.Диск" '"C:\Users\Дмитрий\AppData\Local\Yandex\YandexDisk2.exe" /startup'
seed "$run_key" "微信" '"C:\Program Files\Tencent\WeChat\WeChat.exe" /autorun'
seed "$run_key" "Σύνδεση ✓" '"C:\Users\Public\Σύνδεση\sync.exe" --tray'
seed "$machine_run_key" "Café Sync" '"C:\Program Files\Café\sync.exe"'
for name in Spotify Zoom RtHDVCpl 微信; do
  "$build/wine-run" "$dist/velbrookc.exe" disable "$name" >/dev/null 2>&1 ||
    echo "tour: could not switch $name off" >&2
done
# Spotify puts itself back after it was switched off: the pages show it once, as come back.
seed "$run_key" "Spotify" '"C:\Users\Public\Spotify\Spotify.exe" /minimized'
"$build/wine-run" "$dist/velbrookc.exe" ignore add "Яндекс.Диск" >/dev/null 2>&1 ||
  echo "tour: could not ignore a name" >&2

"$build/wine-run" "$program/Velbrook.exe" >/dev/null 2>&1 &
velbrook=$!
drive wait "Velbrook Splash" 30000 && capture splash "Velbrook Splash"
drive wait Velbrook 30000

# --- the main window's pages (the page issues add theirs here) ---
shot home               Velbrook  command Velbrook 1071
shot windows-startups   Velbrook  command Velbrook 1072
# The Manual Fix page through its button, with one box unticked and not saved (the page
# focuses its list on the first row; the space bar unticks it).
drive click Velbrook 1018 && sleep 1 || echo "tour: no Manual Fix button" >&2
shot manual-fix         Velbrook  key 32
shot tab-settings       Velbrook  command Velbrook 1073
shot tab-ignore-list    Velbrook  click Velbrook 1047
shot tab-history        Velbrook  click Velbrook 1048
# A fix saved on the Manual Fix page (the first row unticked), then "View History" on the home
# page: the history, chosen before the fix, lists it at once.
drive command Velbrook 1072 && sleep 1 && drive click Velbrook 1018 && sleep 1 && drive key 32 &&
  sleep 1 && drive click Velbrook 1 && sleep 2 && drive key 13 && sleep 1 ||
  echo "tour: no fix from the Manual Fix page" >&2
shot history-after-fix  Velbrook  click Velbrook 1021
shot about              Velbrook  command Velbrook 1035

# --- the new-startup alert: a program adds itself to Run, and the monitor's timer fires ---
seed "$run_key" "Облако Updater" '"C:\Program Files\Облако\updater.exe" /silent'
drive post Velbrook 275 300 0 || echo "tour: no monitor pass" >&2  # WM_TIMER, the monitor's timer
sleep 3
# The alert carries the main window's title: the screen's bottom-right corner, where it shows.
capture alert screen >/dev/null && convert "$out/alert.png" -gravity southeast -crop 480x220+0+0 +repage \
  "$out/alert.png" && echo "$out/alert.png"
sleep 9  # the alert closes itself after 10 s; later steps look for the main window by title

# --- Zoom, switched off before the start, puts itself back: the alert offers to switch it off ---
seed "$run_key" "Zoom" '"C:\Users\Public\Zoom\Zoom.exe" --autostart'
drive post Velbrook 275 300 0 || echo "tour: no monitor pass" >&2
sleep 3
capture alert-came-back screen >/dev/null &&
  convert "$out/alert-came-back.png" -gravity southeast -crop 480x220+0+0 +repage \
    "$out/alert-came-back.png" && echo "$out/alert-came-back.png"
sleep 9

# --- the tray menu, then the veil (over the About page) ---
# The tray menu comes first: once the veil has been up, Xvfb (no compositor) keeps showing the
# closed windows' last pictures.
drive post Velbrook 1614 143 517 || echo "tour: no tray menu" >&2
sleep 2
shot tray-menu          screen
drive key 27 || true
shot veil               screen    click Velbrook 1
# The stand-in's box holds the veil up until it is answered.
drive wait "Renovix stand-in" 10000 || echo "tour: no stand-in box" >&2
for _ in 1 2 3; do
  drive command "Renovix stand-in" 1 || true
  drive gone "Renovix stand-in" 3000 && break
done
drive gone "Velbrook Veil" 5000 || echo "tour: the veil stays up" >&2

drive post Velbrook 16 1 1 || true
# Ended by force if the close request was not heard in time.
for _ in $(seq 30); do kill -0 "$velbrook" 2>/dev/null || break; sleep 1; done
kill "$velbrook" 2>/dev/null || true
wait "$velbrook" || true

# --- the update dialog in its states (a prefix and a loopback server of its own) ---
trap - EXIT
bash "$root/tools/wine-env.sh" stop "$build"
bash "$root/tools/renovix-screenshots.sh" "$build" "$out"
