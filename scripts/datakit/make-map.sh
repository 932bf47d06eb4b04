#!/usr/bin/env bash
# Renders the map image MAP01_512.bmp from the GSHHG high-resolution
# shorelines (Debian packages gmt, gmt-gshhg-high) in the map projection.
# usage: scripts/datakit/make-map.sh OUT.bmp [BUILD_DIR]
#   BUILD_DIR holds map-render (default build/native).
# The committed data/MAP01_512.bmp was made with:
#   scripts/datakit/make-map.sh data/MAP01_512.bmp
set -euo pipefail
out=${1:?usage: make-map.sh OUT.bmp [BUILD_DIR]}
build=${2:-build/native}
render="$build/map-render"
[ -x "$render" ] || { echo "make-map: $render is missing (build the map-render target)" >&2; exit 1; }
command -v gmt >/dev/null || { echo "make-map: gmt is missing (apt-get install gmt gmt-gshhg-high)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The map's extent comes from the projection itself.
region=$("$render" --print-region)
export HOME="$work"   # GMT keeps its session files below HOME
# A 4x supersampled land mask, one byte per cell, top row first.
gmt grdlandmask -R"$region" -I2048+n/2048+n -r -Dh -N0/1 -G"$work/mask.nc"
gmt grd2xyz "$work/mask.nc" -ZTLc > "$work/mask.bin"
gmt coast -R"$region" -Dh -W -M > "$work/coast.txt"
"$render" --mask "$work/mask.bin" --coast "$work/coast.txt" --out "$out"
