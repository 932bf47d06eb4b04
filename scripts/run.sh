#!/usr/bin/env bash
# Lays out the run folder build/run (program, Data, text; the settings file
# stays there between runs), builds the sample Data folder when there is
# none, and runs wolt on it.
set -euo pipefail
top=$(realpath "$(dirname "$0")/..")
run=$top/build/run
mkdir -p "$run/text"
if [ ! -f "$run/Data/s_tbl.dat" ]; then
  echo "run: building the sample Data folder (once)"
  bash "$top/scripts/datakit/make-data.sh" "$run/Data"
fi
cp "$top/build/win64/wolt-cli.exe" "$run/"
cd "$run"
"$top/build/native/wolt-cli" --data Data summary
