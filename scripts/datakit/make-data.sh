#!/usr/bin/env bash
# Builds a complete sample Data folder: the yearly catalogue files from 1970
# to today, s_tbl.dat and ne_tbl.dat (make-sample, seed 1) and the map image
# MAP01_512.bmp (the committed data/MAP01_512.bmp).
# usage: scripts/datakit/make-data.sh DIR [BUILD_DIR [make-sample options...]]
#   BUILD_DIR holds make-sample (default build/native); further options go
#   to make-sample (for instance --seed 7 --end 2024-12-31).
# The folder is assembled beside DIR and renamed into place when complete,
# so an interrupted run never leaves a half-made DIR. An existing DIR is
# replaced.
set -euo pipefail
dir=${1:?usage: make-data.sh DIR [BUILD_DIR [make-sample options...]]}
build=${2:-build/native}
shift $(( $# >= 2 ? 2 : 1 ))
root=$(cd "$(dirname "$0")/../.." && pwd)
sample="$build/make-sample"
[ -x "$sample" ] || { echo "make-data: $sample is missing (build the make-sample target)" >&2; exit 1; }

dir=${dir%/}
work="$dir.making"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
"$sample" --out "$work" --seed 1 "$@"
cp "$root/data/MAP01_512.bmp" "$work/MAP01_512.bmp"
rm -rf "$dir.previous"
[ -e "$dir" ] && mv "$dir" "$dir.previous"
mv "$work" "$dir"
rm -rf "$dir.previous"
