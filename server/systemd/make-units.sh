#!/usr/bin/env bash
# Writes the feed's systemd units, filled in, into OUTDIR.
# Usage: make-units.sh --feed /usr/local/bin/wolt-feed --data /srv/wolt/wolt/data --user wolt OUTDIR
set -euo pipefail
feed= data= user=
while [ $# -gt 1 ]; do
  case $1 in
    --feed) feed=$2; shift 2 ;;
    --data) data=$2; shift 2 ;;
    --user) user=$2; shift 2 ;;
    *) echo "make-units.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
out=${1:?usage: make-units.sh --feed PATH --data DIR --user NAME OUTDIR}
[ -n "$feed" ] && [ -n "$data" ] && [ -n "$user" ] || { echo "make-units.sh: --feed, --data and --user are required" >&2; exit 2; }
here=$(dirname "$0")
mkdir -p "$out"
sed -e "s|@FEED@|$feed|g" -e "s|@DATA@|$data|g" -e "s|@USER@|$user|g" "$here/wolt-feed.service.in" > "$out/wolt-feed.service"
cp "$here/wolt-feed.timer" "$out/wolt-feed.timer"
