#!/usr/bin/env bash
# wolt-cli.exe under Wine must write exactly what the native wolt-cli writes,
# for every command, on the same catalogue with the same pinned clock.
# Usage: cli_smoke.sh NATIVE_BUILD_DIR WIN64_BUILD_DIR
set -euo pipefail
native=$(realpath "$1")
win64=$(realpath "$2")
top=$(realpath "$(dirname "$0")/../..")
work=$(mktemp -d)
export WINEPREFIX="$top/build/wineprefix-wintests" WINEDEBUG=-all
trap 'rm -rf "$work"; /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

bash "$top/scripts/wineprefix.sh" "$WINEPREFIX" --unmanaged
"$native/make-sample" --out "$work/Data" --seed 11 --end 2026-06-30 --records 30000 >/dev/null
mkdir -p "$work/text"
cd "$work"

now="2026/07/01 12:00:00"
commands=(
  "summary"
  "--mag 3-9 summary"
  "--from '2011/03/01 00:00' --to '2011/04/30 23:59' --depth 0-100 summary"
  "alert-report -o OUT"
  "--mag 4-9 region-report -o OUT"
  "--record 5 region-report -o OUT"
  "list -o OUT"
  "list --sort depth,magnitude -o OUT"
  "list --sort region -o OUT"
  "list --region --sort intensity -o OUT"
  "backtest --from-year 2000 --min-mag 5.5 -o OUT"
  "backtest --from-year 2000 --smooth-km 80 --svg OUT"
  "gr --all --min-events 20 -o OUT"
  "gr --by-period 10 --svg OUT"
  "gr --region 熊本県熊本地方 --mc maxc -o OUT"
  "aftershocks --main '2016/04/16 01:25' --radius 50 --days 30 -o OUT"
  "aftershocks --main '2016/04/16 01:25' --radius 50 --days 30 --min-mag 3 --start-days 0.1 --svg OUT"
  "--from 2016/01/01 --to 2016/12/31 counts --by week --class magnitude --svg OUT"
  "counts --by month --region 熊本県熊本地方 --region 福島県沖 -o OUT"
  "--mag 5-9 list --format csv -o OUT"
  "--mag 5-9 list --sort magnitude --format geojson -o OUT"
  "--mag 5-9 list --format kml -o OUT"
)
status=0
for args in "${commands[@]}"; do
  eval "set -- ${args//OUT/native.out}"
  "$native/wolt-cli" --now "$now" "$@" > native.txt 2>&1 || echo "exit $?" >> native.txt
  eval "set -- ${args//OUT/wine.out}"
  /usr/lib/wine/wine64 "$win64/wolt-cli.exe" --now "$now" "$@" > wine.txt 2>&1 || echo "exit $?" >> wine.txt
  tr -d '\r' < wine.txt > wine.stdout
  tr -d '\r' < native.txt > native.stdout
  if ! cmp -s native.stdout wine.stdout; then
    echo "differs (console): $args"; diff native.stdout wine.stdout | head -5 || true; status=1
  elif [ -f native.out ] && ! cmp -s native.out wine.out; then
    echo "differs (file): $args"; status=1
  else
    echo "same: $args"
  fi
  rm -f native.out wine.out
done
exit $status
