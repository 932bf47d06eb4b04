#!/usr/bin/env bash
# Runs the test stages on the built trees and closes with one summary line.
# Usage (from the top folder, after the builds):
#   bash scripts/test.sh            every stage
#   bash scripts/test.sh --e2e N    the two end-to-end stages N times in a row
#                                   (each run's case folders in build/e2e/run-K/)
# The stages that need Wine run side by side: each has its own prefix and
# its own Xvfb display. A stage's output goes to build/test-logs/<stage>.log
# and is printed when the stage ends.
set -uo pipefail
cd "$(dirname "$0")/.."
logs=build/test-logs
mkdir -p "$logs"
passed=0 failed=0 failures=()

# start NAME COMMAND...: runs a stage in the background.
declare -A pids starts
start() {
  local name=$1; shift
  starts[$name]=$SECONDS
  "$@" > "$logs/$name.log" 2>&1 &
  pids[$name]=$!
}

# finish NAME: waits for the stage, prints its log and counts it.
finish() {
  local name=$1 status
  wait "${pids[$name]}"; status=$?
  echo "== $name"
  cat "$logs/$name.log"
  if [ $status -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); failures+=("$name"); fi
  echo "== $name: $((SECONDS - ${starts[$name]})) s, $([ $status -eq 0 ] && echo passed || echo FAILED)"
}

e2e_main() { python3 tests/e2e/run_e2e.py --exe build/win64/wolt.exe "$@"; }
e2e_update() { python3 tests/e2e/checks_update.py --build build/win64 "$@"; }

if [ "${1:-}" = --e2e ]; then
  runs=${2:?usage: test.sh --e2e N}
  for k in $(seq 1 "$runs"); do
    start "run $k end-to-end" e2e_main --evidence "build/e2e/run-$k/main"
    start "run $k end-to-end update" e2e_update --evidence "build/e2e/run-$k/update"
    finish "run $k end-to-end"
    finish "run $k end-to-end update"
  done
else
  wine_units() {
    bash tests/win/run_wintests.sh build/win64 &&
      bash tests/wine/tools_smoke.sh build/native build/win64
  }
  # Each fuzz target runs for a bounded time on a scratch copy of its seeds.
  fuzz() {
    local status=0 target name corpus
    for target in build/fuzz/fuzz_*; do
      [ -x "$target" ] || continue
      name=$(basename "$target")
      corpus=build/fuzz/corpus/$name
      mkdir -p "$corpus"
      [ -d "tests/fuzz/seeds/$name" ] && cp -n "tests/fuzz/seeds/$name"/* "$corpus"/ 2>/dev/null
      if "$target" -max_total_time="${FUZZ_SECONDS:-10}" -rss_limit_mb=2048 "$corpus" > "$logs/$name.log" 2>&1; then
        echo "$name: $(grep -Eo '^Done [0-9]+ runs' "$logs/$name.log")"
      else
        status=1
        echo "$name FAILED:"; tail -40 "$logs/$name.log"
      fi
    done
    return $status
  }
  # The feed's systemd units, filled in with this build, as systemd reads them.
  units() {
    local dir
    dir=$(mktemp -d)
    mkdir -p "$dir/data"
    bash server/systemd/make-units.sh --feed "$PWD/build/native/wolt-feed" --data "$dir/data" --user root "$dir" &&
      systemd-analyze verify --man=no "$dir/wolt-feed.service" "$dir/wolt-feed.timer" && echo "systemd units: verified"
    local status=$?
    rm -rf "$dir"
    return $status
  }
  start "include check" python3 scripts/check_includes.py
  finish "include check"
  start "systemd units" units
  finish "systemd units"
  start "native tests" ctest --test-dir build/native --output-on-failure
  finish "native tests"
  start "end-to-end" e2e_main
  start "end-to-end update" e2e_update
  start "wine unit tests and smoke tests" wine_units
  start "fuzz targets" fuzz
  finish "wine unit tests and smoke tests"
  finish "fuzz targets"
  finish "end-to-end"
  finish "end-to-end update"
fi

[ $failed -eq 0 ] || echo "failed stages: ${failures[*]}"
echo "stages: $passed passed, $failed failed"
[ $failed -eq 0 ]
