#!/usr/bin/env bash
# Installs the Debian packages wolt needs to build, test and run, when any
# is missing. Needs root for apt-get; as another user it only reports.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ clang libgtest-dev libbenchmark-dev
  mingw-w64 g++-mingw-w64-x86-64-posix wine64
  xvfb xdotool x11-utils x11-apps imagemagick fonts-ipafont-gothic
  gmt gmt-gshhg-high ghostscript
  nginx openssl python3 zip
  libcurl4-openssl-dev nlohmann-json3-dev systemd
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages (install them as root): ${missing[*]}" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
