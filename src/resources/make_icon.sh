#!/usr/bin/env bash
# Draws wolt.ico (icon 107) with ImageMagick: a depth-coloured epicentre
# marker with a ring on a dark sea, at 16, 32 and 48 pixels.
# Usage: bash src/resources/make_icon.sh   (rewrites src/resources/wolt.ico)
set -euo pipefail
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 48x48 xc:'#0b1f3a' \
  -fill none -stroke '#ffffff' -strokewidth 2 -draw 'circle 24,24 24,6' \
  -fill '#ffd200' -stroke none -draw 'circle 24,24 24,12' \
  -fill '#ff2000' -draw 'circle 24,24 24,18' \
  "$work/wolt48.png"
for size in 16 32; do convert "$work/wolt48.png" -resize ${size}x${size} "$work/wolt$size.png"; done
convert "$work/wolt16.png" "$work/wolt32.png" "$work/wolt48.png" "$here/wolt.ico"
