#!/usr/bin/env bash
# Runs every test stage on the built trees and closes with one summary line.
# Usage (from the top folder, after the builds): bash scripts/test.sh
set -uo pipefail
cd "$(dirname "$0")/.."

passed=0 failed=0 failures=()
stage() {
  local name=$1; shift
  echo "== $name"
  local start=$SECONDS
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); failures+=("$name"); fi
  echo "== $name: $((SECONDS - start)) s"
}

stage "native tests" ctest --test-dir build/native --output-on-failure
stage "wine unit tests" bash tests/win/run_wintests.sh build/win64
stage "wine cli smoke test" bash tests/wine/cli_smoke.sh build/native build/win64
stage "end-to-end" python3 tests/e2e/run_e2e.py --exe build/win64/wolt.exe
stage "end-to-end update" python3 tests/e2e/checks_update.py --build build/win64
# Each fuzz target runs for a bounded time on a scratch copy of its seeds.
for target in build/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  [ -d "tests/fuzz/seeds/$name" ] && cp -n "tests/fuzz/seeds/$name"/* "$corpus"/ 2>/dev/null
  stage "fuzz $name" "$target" -max_total_time="${FUZZ_SECONDS:-15}" -rss_limit_mb=2048 "$corpus"
done

[ $failed -eq 0 ] || echo "failed stages: ${failures[*]}"
echo "stages: $passed passed, $failed failed"
[ $failed -eq 0 ]
