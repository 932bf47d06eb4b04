#!/usr/bin/env bash
# The benchmarks: the engine's (native, Google Benchmark), the whole record's
# backfill against a local stand-in of the search service (bench/backfill.py)
# and the per-tick GDI work under Wine on a private Xvfb (wolt-tickbench.exe
# of the MinGW tree).
# Usage: bench.sh [--wine-only] [tickbench options]
set -euo pipefail
top=$(realpath "$(dirname "$0")/..")
cd "$top"
if [ "${1:-}" = --wine-only ]; then shift; else build/native/wolt-bench; python3 bench/backfill.py; fi

export WINEPREFIX="$top/build/wineprefix-bench" WINEDEBUG=-all
bash scripts/wineprefix.sh "$WINEPREFIX" --unmanaged
XVFB_PID=
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
source scripts/xvfb.sh
mkdir -p build/test-logs
start_xvfb build/test-logs/xvfb-bench.log
bash scripts/wine.sh build/win64/wolt-tickbench.exe "$@" | tr -d '\r'
