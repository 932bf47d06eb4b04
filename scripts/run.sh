#!/usr/bin/env bash
# make run / make dist.
#   run.sh           lays out build/run and starts wolt there under Wine
#   run.sh --layout  only lays out build/run
#   run.sh --dist    lays out build/run and zips it into build/wolt-1.45.zip
# build/run holds wolt.exe, Data (the sample catalogue, made once) and text;
# the settings file wolt.dat stays there between runs. With a DISPLAY wolt
# opens there; without one it runs on a private Xvfb: once it has faded in,
# a screenshot goes to build/run/screenshot.png, and Ctrl-C closes it in
# order (its close command, Esc) and stops Xvfb.
set -euo pipefail
top=$(realpath "$(dirname "$0")/..")
run=$top/build/run
native=${WOLT_NATIVE_BUILD:-$top/build/native}   # overridable for trying the script
win64=${WOLT_WIN64_BUILD:-$top/build/win64}
title='wolt 1.45'

layout() {
  mkdir -p "$run/text"
  if [ ! -f "$run/Data/MAP01_512.bmp" ]; then
    echo "run: making the sample Data folder (once)"
    bash "$top/scripts/datakit/make-data.sh" "$run/Data" "$native"
  fi
  cp "$win64/wolt.exe" "$run/wolt.exe"
}

dist() {
  local zip=$top/build/wolt-1.45.zip stage
  stage=$(mktemp -d)
  mkdir -p "$stage/wolt"
  cp -r "$run/wolt.exe" "$run/Data" "$stage/wolt/"
  cp "$win64/wolt-cli.exe" "$win64/wolt-feed.exe" "$win64/import-csv.exe" "$stage/wolt/"
  mkdir -p "$stage/wolt/text"
  cp "$top/src/resources/dist-README.txt" "$stage/wolt/README.txt"
  cp "$top/src/resources/wolt-source.txt" "$stage/wolt/wolt-source.txt"
  rm -f "$zip"
  (cd "$stage" && zip -qr "$zip" wolt)
  rm -rf "$stage"
  echo "$zip"
}

case "${1:-}" in
  --layout) layout; exit 0 ;;
  --dist) layout; dist; exit 0 ;;
  "") ;;
  *) echo "usage: run.sh [--layout|--dist]" >&2; exit 2 ;;
esac

layout
export WINEPREFIX=$top/build/wineprefix WINEDEBUG=-all
bash "$top/scripts/wineprefix.sh" "$WINEPREFIX"
cd "$run"
if [ -n "${DISPLAY:-}" ]; then
  exec bash "$top/scripts/wine.sh" wolt.exe
fi

# No display: a private Xvfb, a screenshot once the window has faded in.
# Xvfb and wine run in sessions of their own: the terminal's Ctrl-C reaches
# only this script, which then closes wolt in order before stopping Xvfb.
source "$top/scripts/xvfb.sh"
start_xvfb "$run/xvfb.log" setsid
wine_pid=

# The main window: the title alone, or marked as showing the sample.
window() { xdotool search --name "^${title//./\\.}( \\[.*\\])?\$" 2>/dev/null | head -1 || true; }

shutdown() {
  trap - INT TERM EXIT
  set +e   # whatever fails here, Xvfb and the prefix's wineserver must still be stopped
  if [ -n "$wine_pid" ] && kill -0 "$wine_pid" 2>/dev/null; then
    echo "run: closing wolt"
    for _ in 1 2 3; do   # Esc, after a click that gives the window the focus
      w=$(window)
      [ -n "$w" ] || break
      eval "$(xdotool getwindowgeometry --shell "$w")"
      xdotool mousemove $((X + 858)) $((Y + 302)) click 1
      sleep 0.5
      xdotool key Escape
      for _ in $(seq 50); do kill -0 "$wine_pid" 2>/dev/null || break; sleep 0.1; done
      kill -0 "$wine_pid" 2>/dev/null || break
    done
  fi
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap shutdown EXIT
trap 'exit 130' INT TERM

setsid bash "$top/scripts/wine.sh" wolt.exe &
wine_pid=$!

w=
for _ in $(seq 300); do w=$(window); [ -n "$w" ] && break; sleep 0.1; done
[ -n "$w" ] || { echo "run: no window titled '$title' appeared" >&2; exit 1; }
# Wine removes _NET_WM_WINDOW_OPACITY once the window is fully opaque.
for _ in $(seq 300); do
  xprop -id "$w" _NET_WM_WINDOW_OPACITY 2>/dev/null | grep -q "not found" && break
  sleep 0.1
done
sleep 0.5
import -window root "$run/screenshot.png"
echo "run: wolt runs on the private display $DISPLAY; screenshot: $run/screenshot.png"
echo "run: press Ctrl-C to close it"
while kill -0 "$wine_pid" 2>/dev/null; do sleep 1; done
wait "$wine_pid" || true
echo "run: wolt has ended"
