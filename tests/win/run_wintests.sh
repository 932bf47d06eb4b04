#!/usr/bin/env bash
# Runs the Wine unit tests (wolt-wintests.exe) of a MinGW build tree. GDI
# needs a display: without DISPLAY a private Xvfb is started and stopped.
# Usage: run_wintests.sh WIN64_BUILD_DIR [gtest options]
set -euo pipefail
build=$(realpath "${1:?usage: run_wintests.sh WIN64_BUILD_DIR}")
shift
top=$(realpath "$(dirname "$0")/../..")
export WINEPREFIX="$top/build/wineprefix-wintests" WINEDEBUG=-all
bash "$top/scripts/wineprefix.sh" "$WINEPREFIX" --unmanaged

xvfb=
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi
/usr/lib/wine/wine64 "$build/wolt-wintests.exe" "$@" | tr -d '\r'
