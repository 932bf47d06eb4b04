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

XVFB_PID=
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  source "$top/scripts/xvfb.sh"
  mkdir -p "$top/build/test-logs"
  start_xvfb "$top/build/test-logs/xvfb-wintests.log"
fi
bash "$top/scripts/wine.sh" "$build/wolt-wintests.exe" "$@" | tr -d '\r'
