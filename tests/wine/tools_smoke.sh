#!/usr/bin/env bash
# The Windows builds write what the native ones write: wolt-cli.exe for every
# command on the same catalogue with the same pinned clock, import-csv.exe on
# a Shift-JIS export into a folder with a Japanese name, wolt-feed.exe through
# WinINet against a local stand-in of the search service. Then the zip a
# Windows user gets holds what its README promises.
# Usage: tools_smoke.sh NATIVE_BUILD_DIR WIN64_BUILD_DIR
set -euo pipefail
native=$(realpath "$1")
win64=$(realpath "$2")
top=$(realpath "$(dirname "$0")/../..")
work=$(mktemp -d)
export WINEPREFIX="$top/build/wineprefix-wintests" WINEDEBUG=-all
standin=
cleanup() {
  [ -n "$standin" ] && kill "$standin" 2>/dev/null
  rm -rf "$work"
  /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
bash "$top/scripts/wineprefix.sh" "$WINEPREFIX" --unmanaged
status=0
same() {   # same WHAT DIR1 DIR2: every file of DIR1 in DIR2 with the same bytes
  if diff -r "$2" "$3" > /dev/null; then echo "same: $1"; else echo "differs: $1"; diff -rq "$2" "$3" | head -5; status=1; fi
}

# wolt-cli.exe: every command, console and file.
"$native/make-sample" --out "$work/cli/Data" --seed 11 --end 2026-06-30 --records 30000 >/dev/null
mkdir -p "$work/cli/text"
cd "$work/cli"

now="2026/07/01 12:00:00"
commands=(
  "summary"
  "--from '2011/03/01 00:00' --to '2011/04/30 23:59' --depth 0-100 summary"
  "alert-report -o OUT"
  "--mag 4-9 region-report -o OUT"
  "--record 5 region-report -o OUT"
  "list -o OUT"
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
for args in "${commands[@]}"; do
  eval "set -- ${args//OUT/native.out}"
  "$native/wolt-cli" --now "$now" "$@" > native.txt 2>&1 || echo "exit $?" >> native.txt
  eval "set -- ${args//OUT/wine.out}"
  "$top/scripts/wine.sh" "$win64/wolt-cli.exe" --now "$now" "$@" > wine.txt 2>&1 || echo "exit $?" >> wine.txt
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
cd "$work"

# import-csv.exe: wide arguments, a folder name beyond any ANSI code page.
"$native/import-csv" --out "$work/native-import" "$top/tests/data/import/example_sjis.csv" > /dev/null
"$top/scripts/wine.sh" "$win64/import-csv.exe" --out "$work/取込み" "$top/tests/data/import/example_sjis.csv" > /dev/null
same "import-csv" "$work/native-import" "$work/取込み"

# wolt-feed.exe against the stand-in (plain HTTP on 127.0.0.1), 1970-1974.
python3 "$top/tests/e2e/update/servers.py" serve-felt "$work" 1970 1974-12-31 7 > "$work/standin.port" &
standin=$!
for _ in $(seq 100); do grep -q '^[0-9]' "$work/standin.port" 2>/dev/null && break; sleep 0.1; done
url="http://127.0.0.1:$(head -1 "$work/standin.port")/api.php"
"$native/wolt-feed" --out "$work/native-feed" --endpoint "$url" --delay 0 --to 1974-12-31 2> /dev/null
"$top/scripts/wine.sh" "$win64/wolt-feed.exe" --out "$work/wine-feed" --endpoint "$url" --delay 0 --to 1974-12-31 2> /dev/null
same "wolt-feed" "$work/native-feed" "$work/wine-feed"

# The zip: the program, the three tools, the source file, the sample Data folder, the README's three ways.
zip=$(WOLT_NATIVE_BUILD="$native" WOLT_WIN64_BUILD="$win64" bash "$top/scripts/run.sh" --dist | tail -1)
listing=$(unzip -Z1 "$zip")
for name in wolt/wolt.exe wolt/wolt-cli.exe wolt/wolt-feed.exe wolt/import-csv.exe wolt/wolt-source.txt \
            wolt/README.txt wolt/Data/s_tbl.dat wolt/Data/sample.txt wolt/Data/MAP01_512.bmp wolt/text/; do
  grep -qx "$name" <<< "$listing" || { echo "the zip lacks $name"; status=1; }
done
readme=$(unzip -p "$zip" wolt/README.txt)
for way in "1. The button" "2. wolt-feed.exe" "3. import-csv.exe" "wolt-source.txt chooses"; do
  grep -qF "$way" <<< "$readme" || { echo "the zip's README lacks \"$way\""; status=1; }
done
[ $status -eq 0 ] && echo "zip: $(grep -c . <<< "$listing") entries, the programs, Data and README as described"
exit $status
