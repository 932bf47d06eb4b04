#!/usr/bin/env bash
# Writes the nginx site file of the wolt data server to standard output.
# Usage: server/configure.sh --host NAME --listen [ADDR:]PORT --cert FILE --key FILE --root DIR
#   --root is the folder that holds wolt/index.html, wolt/busy.html and
#   wolt/data/cmp_YYYY.dat (copy server/www there to start).
set -euo pipefail
here=$(dirname "$0")
host= listen= cert= key= root=
while [ $# -gt 0 ]; do
  case $1 in
    --host) host=$2 ;;
    --listen) listen=$2 ;;
    --cert) cert=$2 ;;
    --key) key=$2 ;;
    --root) root=$2 ;;
    *) echo "configure.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
for name in host listen cert key root; do
  if [ -z "${!name}" ]; then
    echo "usage: configure.sh --host NAME --listen [ADDR:]PORT --cert FILE --key FILE --root DIR" >&2
    exit 2
  fi
done
# The values go into the file as they are: no separators, quotes or braces.
for value in "$host" "$listen" "$cert" "$key" "$root"; do
  case $value in
    *[\|\;\{\}\"\'\&\\[:space:]]*) echo "configure.sh: unsafe value: $value" >&2; exit 2 ;;
  esac
done
sed -e "s|@HOST@|$host|g" -e "s|@LISTEN@|$listen|g" -e "s|@CERT@|$cert|g" \
    -e "s|@KEY@|$key|g" -e "s|@ROOT@|$root|g" "$here/nginx/wolt.conf.in"
